#include "language/QuickLists.h"

#include "platform/TextHelpers.h"

#include <algorithm>
#include <iterator>
#include <initializer_list>

namespace quicklists {

namespace {

QStringList words(std::initializer_list<const char*> list) {
    QStringList out;
    out.reserve(qsizetype(list.size()));
    for (const char* w : list)
        out.append(QLatin1String(w));
    return out;
}

QStringList numbered(const QString& prefix, int from, int to) {
    QStringList out;
    for (int n = from; n <= to; ++n)
        out.append(prefix + QString::number(n));
    return out;
}

QStringList devicePins(const DevicePortTable& ports) {
    QStringList out;
    for (int i = 0; i < DeviceDatabase::PortCount; ++i)
        out += numbered(DeviceDatabase::portName(i) + u'.', 0, ports[size_t(i)] - 1);
    return out.isEmpty() ? words({"Pin Data", "Not Available"}) : out;
}

QStringList devicePorts(const DevicePortTable& ports) {
    QStringList out;
    for (int i = 0; i < DeviceDatabase::PortCount; ++i)
        if (ports[size_t(i)] != 0)
            out.append(DeviceDatabase::portName(i));
    return out.isEmpty() ? words({"Port Data", "Not Available"}) : out;
}

} // namespace

int insertMode(Source source) {
    switch (source) {
    case Source::LcdCommands:
    case Source::NapPeriods:
    case Source::SerialModes:
    case Source::OscillatorSpeeds:
        return InsertCode;
    case Source::IncludeFiles:
        return InsertInclude;
    default:
        return InsertText;
    }
}

bool isBrowseEntry(const QString& entry) {
    return entry.toUpper() == QLatin1String("BROWSE");
}

QString insertedText(const QString& entry, int listMode) {
    if (listMode == InsertCode) {
        const qsizetype dash = entry.indexOf(u'-');
        return text::Trim(dash < 0 ? entry : entry.left(dash));
    }
    if (listMode == InsertInclude)
        return u'"' + entry + u'"';
    return entry;
}

QString declaredName(const QString& line, const sourcescan::ClassAt& classAt) {
    const qsizetype at = sourcescan::statementWordAt(line, QLatin1StringView("VAR"), classAt);
    if (at < 0)
        return {};
    const auto blank = [&line](qsizetype i) { return line[i] == u' ' || line[i] == u'\t'; };
    qsizetype from = 0, to = at;
    while (from < to && blank(from))
        ++from;
    while (to > from && blank(to - 1))
        --to;
    return line.mid(from, to - from);
}

QStringList variableEntries(const QStringList& names) {
    return names.isEmpty() ? words({"No Variables"}) : names;
}

QStringList labelEntries(const QStringList& labelLines, const LexerConfig& comments) {
    QStringList out;
    out.reserve(labelLines.size());
    for (const QString& line : labelLines)
        if (sourcescan::isLabelLine(line, comments))
            out.append(sourcescan::labelName(line));
    return out.isEmpty() ? words({"No Labels"}) : out;
}

QStringList fixedEntries(Source source, const DevicePortTable& ports, const QStringList& defineNames) {
    switch (source) {
    case Source::DevicePins:
        return devicePins(ports);
    case Source::DevicePorts:
        return devicePorts(ports);
    case Source::PbcVariables:
        return numbered(QStringLiteral("B"), 0, 21) + numbered(QStringLiteral("W"), 0, 10);
    case Source::PbcPins:
        return numbered(QString(), 0, 7);
    case Source::LcdCommands:
        return words({"$FE,1 - Clear display", "$FE,2 - Return home", "$FE,$0C - Cursor off",
                      "$FE,$0E - Cursor on", "$FE,$0F - Blinking cursor", "$FE,$10 - Move cursor left",
                      "$FE,$14 - Move cursor right", "$Fe,$C0 - Move cursor to 2nd line"});
    case Source::NapPeriods:
        return words({"0 - 18 ms", "1 - 36 ms", "2 - 72 ms", "3 - 144 ms", "4 - 288 ms", "5 - 576 ms",
                      "6 - 1152 ms", "7 - 2304 ms"});
    case Source::SerialModes:
        return words({"0 - T2400", "1 - T1200", "2 - T9600", "3 - T300", "4 - N2400", "5 - N1200",
                      "6 - N9600", "7 - N300", "8 - OT2400", "9 - OT1200", "10 - OT9600", "11 - OT300",
                      "12 - ON2400", "13 - ON1200", "14 - ON9600", "15 - ON300"});
    case Source::IncludeFiles:
        return words({"Browse", "BS1DEFS.BAS", "BS2DEFS.BAS", "ICDDEFS.BAS", "MODEDEFS.BAS"});
    case Source::VariableSizes:
        return words({"BIT", "BYTE", "WORD"});
    case Source::OscillatorSpeeds:
        return words({"3  - 3.58Mhz", "4  - 4Mhz ", "8  - 8Mhz", "10 - 10Mhz", "12 - 12Mhz", "16 - 16Mhz",
                      "20 - 20Mhz", "25 - 25Mhz", "32 - 32Mhz", "33 - 33Mhz", "40 - 40Mhz"});
    case Source::NoList:
        return words({"Sorry..", "popup list for", "this item not", "available", "at this time."});
    case Source::DefineNames:
        return defineNames.mid(1);
    default:
        return {};
    }
}

KeyList keyList(int key, bool pbpMode) {
    switch (key) {
    case 480:
        return pbpMode ? KeyList{Source::DeclaredVariables, QStringLiteral("Quick Variable List")}
                       : KeyList{Source::PbcVariables, QStringLiteral("Quick PBC Variable List")};
    case 484:
        return pbpMode ? KeyList{Source::DevicePins, QStringLiteral("Quick Pins List")}
                       : KeyList{Source::PbcPins, QStringLiteral("Quick PBC Pins List")};
    case 488:
        return pbpMode ? KeyList{Source::DevicePorts, QStringLiteral("Quick Ports List")}
                       : KeyList{Source::PbcPins, QStringLiteral("Quick PBC Pins List")};
    case 492:
        return {Source::Labels, QStringLiteral("Quick Labels List")};
    default:
        return {};
    }
}

int argumentNumber(const QString& line, int keywordColumn) {
    const QString s = line + u':';
    const qsizetype end = s.indexOf(u':', qMax(1, keywordColumn) - 1);
    int commas = 0;
    bool inString = false;
    for (const QChar c : QStringView(s).left(end)) {
        if (c == u'"')
            inString = !inString;
        else if (c == u',' && !inString)
            ++commas;
    }
    return commas;
}

namespace {

// One row of a statement table: the list for each argument number it names, and what the others do.
struct Entry {
    int argument = -1; // -1: unused
    Source source = Source::None;
};
struct RowRule {
    int rows[2]{};   // 0: unused
    Entry lists[3]{};
    Action otherwise = Action::Nothing;
    bool everyArgument = false; // the one list stands at every argument number
};

constexpr Source Pins = Source::DevicePins;
constexpr Source Vars = Source::DeclaredVariables;
constexpr Source Labels = Source::Labels;
constexpr Source PPins = Source::PbcPins;
constexpr Source PVars = Source::PbcVariables;
constexpr Action Hide = Action::Hide;
constexpr Action Nothing = Action::Nothing;

// clang-format off
const RowRule kProRules[] = {
    {{6}, {{0, Pins}, {4, Vars}, {6, Labels}}, Hide},
    {{9}, {{0, Pins}, {2, Vars}}, Hide},
    {{13}, {{0, Pins}}, Hide},
    {{17}, {{0, Vars}}, Nothing},
    {{18}, {{0, Pins}}, Nothing},
    {{19, 20}, {{0, Labels}}, Nothing},
    {{21}, {{0, Pins}}, Nothing},
    {{24, 25}, {{0, Pins}, {1, Pins}}, Hide},
    {{30}, {{0, Pins}}, Nothing},
    {{31}, {{0, Vars}}, Nothing},
    {{32}, {{0, Source::LcdCommands}}, Nothing},
    {{33, 34}, {}, Hide},
    {{35, 36}, {{0, Vars}}, Hide},
    {{37}, {{0, Pins}}, Action::HideNoSyntax},
    {{38}, {{0, Source::NapPeriods}}, Hide},
    {{40}, {{0, Pins}}, Nothing},
    {{45}, {{0, Pins}, {2, Vars}}, Hide},
    {{46}, {{0, Pins}, {2, Vars}}, Hide},
    {{47}, {{0, Pins}}, Hide},
    {{48}, {{0, Pins}, {1, Source::None}}, Hide},
    {{49}, {{0, Vars}}, Nothing},
    {{50}, {{0, Pins}, {2, Vars}}, Hide},
    {{51}, {{1, Vars}}, Hide},
    {{52}, {{0, Labels}}, Nothing},
    {{54}, {{0, Pins}}, Nothing},
    {{55, 57}, {{0, Pins}, {1, Source::SerialModes}}, Hide},
    {{56, 58}, {{0, Pins}}, Hide},
    {{62}, {{0, Pins}}, Nothing},
    {{64}, {{0, Vars}, {1, Vars}}, Hide},
    {{65}, {{0, Pins}}, Nothing},
    {{66}, {{0, Vars}}, Nothing},
    {{68}, {{1, Vars}}, Hide},
    {{69, 70}, {{0, Pins}, {1, Pins}}, Hide},
    {{71}, {{0, Source::VariableSizes}}, Nothing, true},
    {{74}, {{0, Source::IncludeFiles}}, Nothing, true},
    {{76}, {{1, Vars}}, Hide},
};

const RowRule kPbcRules[] = {
    {{2}, {{0, PPins}, {4, PVars}, {6, Labels}}, Hide},
    {{7}, {{0, PVars}}, Nothing},
    {{8, 9}, {{0, Labels}}, Nothing},
    {{10}, {{0, PPins}}, Nothing},
    {{11, 12}, {{0, PPins}, {1, PPins}}, Hide},
    {{15}, {{0, PPins}}, Nothing},
    {{16}, {{0, Vars}}, Nothing},
    {{17}, {}, Hide},
    {{18}, {{0, PVars}}, Hide},
    {{19}, {{0, PPins}}, Action::HideNoSyntax},
    {{20}, {{0, Source::NapPeriods}}, Hide},
    {{21}, {{0, PPins}}, Nothing},
    {{26}, {{0, PPins}, {2, PVars}}, Hide},
    {{27}, {{0, PPins}, {2, PVars}}, Hide},
    {{28}, {{0, PPins}}, Hide},
    {{29}, {{0, PPins}, {1, Source::None}}, Hide},
    {{30}, {{0, PVars}}, Nothing},
    {{31}, {{1, PVars}}, Hide},
    {{33}, {{0, PPins}}, Nothing},
    {{34, 35}, {{0, PPins}, {1, Source::SerialModes}}, Hide},
    {{37}, {{0, PPins}}, Nothing},
    {{38}, {{0, PPins}}, Nothing},
    {{39}, {{1, PVars}}, Hide},
};
// clang-format on

template <size_t N>
StatementList lookUp(const RowRule (&rules)[N], int row, int argument) {
    for (const RowRule& rule : rules) {
        if (row <= 0 || std::find(std::begin(rule.rows), std::end(rule.rows), row) == std::end(rule.rows))
            continue;
        for (const Entry& e : rule.lists) {
            if (e.argument < 0)
                continue;
            if (rule.everyArgument)
                return {Action::Show, e.source};
            if (e.argument == argument)
                // A named argument without a list (PWM's duty) changes nothing.
                return e.source == Source::None ? StatementList{} : StatementList{Action::Show, e.source};
        }
        return {rule.otherwise, Source::None};
    }
    return {};
}

} // namespace

StatementList statementList(bool pbpMode, int row, int argument) {
    const bool branch = pbpMode ? (row == 4 || row == 5) : row == 1;
    if (branch)
        return {Action::Branch, pbpMode ? Source::DeclaredVariables : Source::PbcVariables};
    return pbpMode ? lookUp(kProRules, row, argument) : lookUp(kPbcRules, row, argument);
}

Source defineValues(int defineEntry) {
    switch (defineEntry) {
    case 7:
    case 24:
    case 26:
    case 30:
        return Source::DevicePorts;
    case 34:
        return Source::OscillatorSpeeds;
    case 40:
        return Source::Labels;
    default:
        return Source::NoList;
    }
}

} // namespace quicklists
