#include "language/LabelCheck.h"

#include "language/DeviceDatabase.h"
#include "language/ReservedWords.h"
#include "language/SourceScan.h"
#include "language/StatementTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVarLengthArray>

#include <algorithm>
#include <iterator>

namespace labelcheck {

namespace {

enum class Unit : quint8 { Word, Number, String, Symbol };

struct Token {
    Unit unit;
    int start;
    int length;
};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// The line up to its comment as words, numbers, strings and single symbols; blanks dropped.
using Tokens = QVarLengthArray<Token, 32>;
Tokens tokenize(QStringView view, const LexerConfig& comments) {
    Tokens out;
    // The comment test reads a QString; this one borrows the characters.
    const QString line = QString::fromRawData(view.data(), view.size());
    const int n = int(line.size());
    // The first letters of the comment starters: only there is the full test worth making.
    char16_t starts[6] = {};
    int startCount = 0;
    for (const QString* starter : {&comments.commentStart, &comments.commentStart2, &comments.commentStart3})
        if (!starter->isEmpty()) {
            starts[startCount++] = starter->at(0).toLower().unicode();
            starts[startCount++] = starter->at(0).toUpper().unicode();
        }
    const auto mayStartComment = [&](QChar c) {
        for (int s = 0; s < startCount; ++s)
            if (starts[s] == c.unicode())
                return true;
        return false;
    };
    int i = 0;
    while (i < n) {
        const QChar c = line[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (mayStartComment(c) && SourceLexer::startsComment(line, i, comments))
            break;
        if (c == u'"') {
            const qsizetype close = line.indexOf(u'"', i + 1);
            const int end = close < 0 ? n : int(close) + 1;
            out.append({Unit::String, i, end - i});
            i = end;
            continue;
        }
        if (SourceLexer::isWordChar(c)) {
            int j = i + 1;
            while (j < n && SourceLexer::isWordChar(line[j]))
                ++j;
            out.append({c.isDigit() ? Unit::Number : Unit::Word, i, j - i});
            i = j;
            continue;
        }
        out.append({Unit::Symbol, i, 1});
        ++i;
    }
    return out;
}

class Reader {
public:
    Reader(QStringView line, const Tokens& tokens) : line_(line), t_(tokens) {}

    bool isWord(int k) const { return k < t_.size() && t_[k].unit == Unit::Word; }
    bool isWord(int k, QLatin1StringView word) const {
        return isWord(k) && SourceLexer::isAsciiWord(text(k), word);
    }
    bool isSymbol(int k, char16_t c) const {
        return k < t_.size() && t_[k].unit == Unit::Symbol && line_[t_[k].start] == c;
    }
    QStringView text(int k) const { return line_.mid(t_[k].start, t_[k].length); }
    Ref ref(int k) const { return {keyOf(text(k)), quint16(t_[k].start), quint16(t_[k].length)}; }
    int size() const { return int(t_.size()); }
    // Where a Ref can say where the name is.
    bool readable(int k) const { return t_[k].start + t_[k].length <= 0xffff; }

private:
    QStringView line_;
    const Tokens& t_;
};

// The names of a comma-separated list from token k on; the index after the list.
int nameList(const Reader& r, int k, QVarLengthArray<Ref, 1>& out) {
    while (r.isWord(k) && r.readable(k)) {
        out.append(r.ref(k));
        if (!r.isSymbol(k + 1, u','))
            return k + 1;
        k += 2;
    }
    return k;
}

QSet<Key> buildReserved() {
    QSet<Key> out;
    StatementTable table;
    table.InitPBPCodes(true);
    DevicePortTable ports;
    ports.fill(8);
    for (const KeywordAddition& k : ReservedWords::buildKeywordLists(table, true, ports))
        out.insert(keyOf(k.word));
    // Statement words the tables leave out, and the parts of statements.
    for (const char* w :
         {"THEN",   "ELSE",    "ELSEIF",   "ENDIF", "RETURN", "END",   "STOP",      "CLEAR", "RESUME",
          "ENABLE", "DISABLE", "NEXT",     "WEND",  "SELECT", "CASE",  "ENDSELECT", "EXIT",  "REPEAT",
          "UNTIL",  "DO",      "CONTINUE", "TO",    "STEP",   "ON",    "INTERRUPT", "DEBUG", "DEFINE",
          "SLEEP",  "NAP",     "GOTO",     "GOSUB", "ASM",    "ENDASM"})
        out.insert(keyOf(QString::fromLatin1(w)));
    return out;
}

} // namespace

Key keyOf(QStringView name) {
    return SourceLexer::caseBlindHash(name);
}

bool isReserved(Key key) {
    static const QSet<Key> words = buildReserved();
    return words.contains(key);
}

LineFacts readLine(QStringView line, const LexerConfig& comments) {
    LineFacts f;
    const Tokens tokens = tokenize(line, comments);
    const Reader r(line, tokens);
    if (r.isWord(0, QLatin1StringView("INCLUDE")) && tokens.size() > 1 && tokens[1].unit == Unit::String)
        f.flags |= LineFacts::Include;
    if (tokens.size() == 1 && r.isWord(0) && r.readable(0)) {
        const Ref name = r.ref(0);
        if (!isReserved(name.key)) {
            f.flags |= LineFacts::Bare;
            f.name = name;
        }
    }
    int k = 0;
    if (r.isWord(0) && r.isSymbol(1, u':') && r.readable(0)) {
        f.flags |= LineFacts::Label;
        f.name = r.ref(0);
        k = 2;
    }
    bool statementStart = true;
    while (k < r.size()) {
        if (statementStart) {
            statementStart = false;
            // The rest of the line is assembler.
            if (r.isSymbol(k, u'@'))
                break;
            if (r.isWord(k, QLatin1StringView("ENDASM"))) {
                f.flags |= LineFacts::AsmEnd;
                break;
            }
            if (r.isWord(k, QLatin1StringView("ASM")) &&
                (k + 1 == r.size() || r.isSymbol(k + 1, u':') || r.isSymbol(k + 1, u';'))) {
                f.flags |= LineFacts::AsmStart;
                break;
            }
        }
        if (r.isSymbol(k, u':')) {
            statementStart = true;
            ++k;
        } else if (r.isWord(k, QLatin1StringView("GOTO")) || r.isWord(k, QLatin1StringView("GOSUB"))) {
            k = nameList(r, k + 1, f.jumps);
        } else if (r.isWord(k, QLatin1StringView("BRANCH")) || r.isWord(k, QLatin1StringView("BRANCHL"))) {
            // The list in brackets (PicBasic Pro) or parentheses (PicBasic), within the statement.
            ++k;
            while (k < r.size() && !r.isSymbol(k, u':') && !r.isSymbol(k, u'[') && !r.isSymbol(k, u'('))
                ++k;
            if (r.isSymbol(k, u'[') || r.isSymbol(k, u'('))
                k = nameList(r, k + 1, f.jumps);
        } else if (r.isWord(k, QLatin1StringView("THEN"))) {
            // A single name ending the line jumps; anything else is the start of a statement or a block.
            if (k + 2 == r.size() && r.isWord(k + 1) && r.readable(k + 1) &&
                !isReserved(keyOf(r.text(k + 1))))
                f.jumps.append(r.ref(k + 1));
            ++k;
        } else {
            ++k;
        }
    }
    return f;
}

LabelCheck::LabelCheck(LineText text) : text_(std::move(text)) {}
LabelCheck::~LabelCheck() = default;

void LabelCheck::load(int lines, const LexerConfig& comments) {
    comments_ = comments;
    facts_.clear();
    lines_ = 0;
    replaceLines(0, 0, lines);
    dirty_ = true;
}

LabelCheck::Stored::Stored(int at, const LineFacts& f) : line(at), flags(f.flags), name(f.name) {
    // More than 255 jumps on one line are not checked beyond the 255th.
    const auto count = quint8(std::min<qsizetype>(f.jumps.size(), 255));
    if (count > 1) {
        jumps_.many = new Ref[count];
        std::copy(f.jumps.cbegin(), f.jumps.cbegin() + count, jumps_.many);
    } else if (count == 1) {
        jumps_.one = f.jumps[0];
    }
    jumpCount_ = count;
}

bool LabelCheck::same(const Stored& s, const LineFacts& f) {
    const qsizetype count = std::min<qsizetype>(f.jumps.size(), 255);
    if (s.flags != f.flags || !(s.name == f.name) || s.jumpCount() != count)
        return false;
    for (int i = 0; i < s.jumpCount(); ++i)
        if (!(s.jumpAt(i) == f.jumps[i]))
            return false;
    return true;
}

std::deque<LabelCheck::Stored>::iterator LabelCheck::storedFrom(int line) {
    return std::lower_bound(facts_.begin(), facts_.end(), line,
                            [](const Stored& s, int l) { return s.line < l; });
}

void LabelCheck::replaceLines(int first, int removed, int added) {
    first = std::clamp(first, 0, lines_);
    removed = std::clamp(removed, 0, lines_ - first);
    added = std::max(added, 0);
    lines_ += added - removed;
    // Typing changes one line for one, and mostly no fact of it: then nothing needs checking again.
    if (added == 1 && removed == 1) {
        const LineFacts f = readLine(lineAt(first), comments_);
        const auto at = storedFrom(first);
        const bool had = at != facts_.end() && at->line == first;
        if (had ? same(*at, f) : f.isEmpty())
            return;
        // Typing in a jump's name, or in front of a jump, leaves every label as it was: then the
        // problems of this line are all that can change.
        const bool local = !dirty_ && (had ? at->flags : 0) == f.flags &&
                           (had ? at->name.key : 0) == f.name.key && !(f.flags & LineFacts::Include) &&
                           !((f.flags & LineFacts::Label) && defined_.value(f.name.key) > 1);
        if (had && f.isEmpty())
            facts_.erase(at);
        else if (had)
            *at = Stored(first, f);
        else
            facts_.insert(at, Stored(first, f));
        if (!local || !recheckLine(first))
            dirty_ = true;
        return;
    }
    const auto from = storedFrom(first);
    const auto to = storedFrom(first + removed);
    for (auto it = to; it != facts_.end(); ++it)
        it->line += added - removed;
    auto at = facts_.erase(from, to);
    for (int i = 0; i < added; ++i) {
        const LineFacts f = readLine(lineAt(first + i), comments_);
        if (!f.isEmpty())
            at = std::next(facts_.insert(at, Stored(first + i, f)));
    }
    dirty_ = true;
}

void LabelCheck::setOutside(QSet<Key> keys, QStringList unread) {
    if (keys == outside_ && unread == unread_)
        return;
    outside_ = std::move(keys);
    unread_ = std::move(unread);
    dirty_ = true;
}

const QStringList& LabelCheck::includes() {
    check();
    return includes_;
}

QList<Key> LabelCheck::definedKeys() {
    check();
    return defined_.keys();
}

const QList<Problem>& LabelCheck::problems() {
    check();
    return problems_;
}

QList<Problem> LabelCheck::problemsOn(int line) {
    check();
    const auto from = std::lower_bound(problems_.cbegin(), problems_.cend(), line,
                                       [](const Problem& p, int l) { return p.line < l; });
    QList<Problem> out;
    for (auto it = from; it != problems_.cend() && it->line == line; ++it)
        out.append(*it);
    return out;
}

const Problem* LabelCheck::problemAt(int line, int column) {
    check();
    const auto from = std::lower_bound(problems_.cbegin(), problems_.cend(), line,
                                       [](const Problem& p, int l) { return p.line < l; });
    for (auto it = from; it != problems_.cend() && it->line == line; ++it)
        if (column >= it->column && column <= it->column + it->length)
            return &*it;
    return nullptr;
}

void LabelCheck::noteJump(int line, const Ref& ref, QList<Problem>& out) const {
    if (defined_.contains(ref.key) || outside_.contains(ref.key))
        return;
    const auto lacking = bare_.constFind(ref.key);
    const QString hint = lacking == bare_.cend()
                             ? elsewhere_
                             : QStringLiteral(" (line ") + QString::number(*lacking + 1) +
                                   QStringLiteral(" holds the name without a colon)");
    const QString name = lineAt(line).mid(ref.column, ref.length).toString();
    out.append({Kind::Undefined, name, line, ref.column, ref.length, QStringLiteral("Undefined label: ") + name + hint});
}

bool LabelCheck::recheckLine(int line) {
    const auto at = storedFrom(line);
    // Whether the line lies in an ASM block: the nearest line before it that opens or closes one says.
    bool inAsm = false;
    if (asmMarks_ > 0) {
        for (auto it = at; it != facts_.begin();) {
            --it;
            const int mark = it->flags & (LineFacts::AsmStart | LineFacts::AsmEnd);
            if (mark == (LineFacts::AsmStart | LineFacts::AsmEnd))
                return false;
            if (mark != 0) {
                inAsm = mark == LineFacts::AsmStart;
                break;
            }
        }
    }
    const auto byLine = [](const Problem& p, int l) { return p.line < l; };
    auto from = std::lower_bound(problems_.begin(), problems_.end(), line, byLine);
    auto to = from;
    while (to != problems_.end() && to->line == line)
        ++to;
    const qsizetype place = from - problems_.begin();
    problems_.erase(from, to);
    if (inAsm || at == facts_.end() || at->line != line)
        return true;
    QList<Problem> mine;
    for (int i = 0; i < at->jumpCount(); ++i)
        noteJump(line, at->jumpAt(i), mine);
    std::sort(mine.begin(), mine.end(), [](const Problem& a, const Problem& b) { return a.column < b.column; });
    for (qsizetype i = 0; i < mine.size(); ++i)
        problems_.insert(place + i, mine[i]);
    return true;
}

void LabelCheck::check() {
    if (!dirty_)
        return;
    dirty_ = false;
    problems_.clear();
    includes_.clear();
    defined_.clear();
    bare_.clear();
    asmMarks_ = 0;
    for (const Stored& f : facts_)
        if (f.flags & (LineFacts::AsmStart | LineFacts::AsmEnd))
            ++asmMarks_;
    // Two passes over the facts: the labels, then what refers to them. Only keys are hashed here; the
    // text is read for the problems alone.
    bool inAsm = false;
    const auto visit = [&](const auto& take) {
        inAsm = false;
        for (const Stored& f : facts_) {
            if (inAsm) {
                inAsm = !(f.flags & LineFacts::AsmEnd);
                continue;
            }
            take(f);
            inAsm = f.flags & LineFacts::AsmStart;
        }
    };
    visit([&](const Stored& f) {
        if (f.flags & LineFacts::Label)
            ++defined_[f.name.key];
        if ((f.flags & LineFacts::Bare) && !bare_.contains(f.name.key))
            bare_.insert(f.name.key, f.line);
        if (f.flags & LineFacts::Include) {
            const QString name = sourcescan::includeName(lineAt(f.line).toString());
            if (!name.isNull())
                includes_.append(name);
        }
    });
    const auto nameAt = [this](int line, const Ref& r) {
        return lineAt(line).mid(r.column, r.length).toString();
    };
    elsewhere_.clear();
    if (!unread_.isEmpty())
        elsewhere_ = QStringLiteral(" (not found here; \"") + unread_.join(QStringLiteral("\", \"")) +
                     QStringLiteral("\" could not be read)");
    // Labels that share a key, counted by their text: two names may share a key.
    QHash<QString, int> times;
    visit([&](const Stored& f) {
        if ((f.flags & LineFacts::Label) && defined_.value(f.name.key) > 1 && !isReserved(f.name.key))
            ++times[nameAt(f.line, f.name).toUpper()];
    });
    visit([&](const Stored& f) {
        for (int i = 0; i < f.jumpCount(); ++i)
            noteJump(f.line, f.jumpAt(i), problems_);
        if (!(f.flags & LineFacts::Label) || defined_.value(f.name.key) < 2 || isReserved(f.name.key))
            return;
        const QString name = nameAt(f.line, f.name);
        const int count = times.value(name.toUpper());
        if (count < 2)
            return;
        const QString often =
            count == 2 ? QStringLiteral("twice") : QString::number(count) + QStringLiteral(" times");
        problems_.append({Kind::Duplicate, name, f.line, f.name.column, f.name.length,
                          QStringLiteral("Label defined ") + often + QStringLiteral(": ") + name});
    });
    std::sort(problems_.begin(), problems_.end(), [](const Problem& a, const Problem& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
}

namespace {

// Big enough for any include library; a bigger file is no source file.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

bool readLines(const QString& path, QStringList& lines) {
    QFile file(path);
    if (path.isEmpty() || file.size() > MaxFileBytes || !file.open(QIODevice::ReadOnly))
        return false;
    // Only names matter here, and they are ASCII: any 8-bit encoding reads them alike.
    lines = QString::fromLatin1(file.readAll()).split(u'\n');
    for (QString& l : lines)
        if (l.endsWith(u'\r'))
            l.chop(1);
    return true;
}

QString fileKey(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

Outside readIncludes(const QStringList& names, const QString& documentPath, const FindInclude& find,
                     const LexerConfig& comments, const QStringList& includers) {
    constexpr int MaxFiles = 256;
    Outside out;
    QSet<QString> seen{fileKey(documentPath)};
    // The files to read: a name to look for from a file, or (with no name) a file itself.
    QList<std::pair<QString, QString>> queue;
    for (const QString& path : includers)
        queue.append({QString(), path});
    for (const QString& name : names)
        queue.append({name, documentPath});
    for (int q = 0; q < queue.size() && seen.size() <= MaxFiles; ++q) {
        const auto [name, from] = queue[q];
        const QString path = name.isNull() ? from : find(name, from);
        const QString key = fileKey(path);
        if (!path.isEmpty() && seen.contains(key))
            continue;
        QStringList lines;
        if (!readLines(path, lines)) {
            if (!name.isNull() && !out.unread.contains(name))
                out.unread.append(name);
            continue;
        }
        seen.insert(key);
        LabelCheck file([&lines](int line, QString&) { return QStringView(lines[line]); });
        file.load(int(lines.size()), comments);
        for (const Key k : file.definedKeys())
            out.keys.insert(k);
        for (const QString& n : file.includes())
            queue.append({n, path});
    }
    return out;
}

QStringList includersOf(const QString& documentPath, const FindInclude& find) {
    // A folder of sources is small; a folder of anything else is not searched through.
    constexpr int MaxFolderFiles = 200;
    constexpr qint64 MaxIncluderBytes = 1024 * 1024;
    const QFileInfo document(documentPath);
    const QFileInfoList files =
        document.dir().entryInfoList({"*.pbp", "*.bas", "*.inc", "*.pbc"}, QDir::Files, QDir::Name);
    QStringList out;
    if (files.size() > MaxFolderFiles)
        return out;
    const QString self = fileKey(documentPath);
    for (const QFileInfo& file : files) {
        const QString path = file.filePath();
        QFile f(path);
        if (file.size() > MaxIncluderBytes || fileKey(path) == self || !f.open(QIODevice::ReadOnly))
            continue;
        // Only the lines that mention an include are made text: the folder's other programs are read
        // as bytes (names are ASCII, so any 8-bit encoding reads them alike).
        const QByteArray bytes = f.readAll();
        for (qsizetype start = 0; start < bytes.size();) {
            qsizetype end = bytes.indexOf('\n', start);
            if (end < 0)
                end = bytes.size();
            QLatin1StringView line(bytes.constData() + start, end - start);
            start = end + 1;
            if (line.endsWith(u'\r'))
                line.chop(1);
            if (!line.contains(QLatin1StringView("include"), Qt::CaseInsensitive))
                continue;
            const QString name = sourcescan::includeName(QString(line));
            const QString found = name.isNull() ? QString() : find(name, path);
            if (!found.isEmpty() && fileKey(found) == self) {
                out.append(path);
                break;
            }
        }
    }
    return out;
}

} // namespace labelcheck
