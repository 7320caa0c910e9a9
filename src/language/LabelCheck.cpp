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
    int i = 0;
    while (i < n) {
        const QChar c = line[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (SourceLexer::startsComment(line, i, comments))
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
        return isWord(k) && text(k).compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(int k, char16_t c) const {
        return k < t_.size() && t_[k].unit == Unit::Symbol && line_[t_[k].start] == c;
    }
    QStringView text(int k) const { return line_.mid(t_[k].start, t_[k].length); }
    Ref ref(int k) const { return {keyOf(text(k)), t_[k].start, t_[k].length}; }
    int size() const { return int(t_.size()); }

private:
    QStringView line_;
    const Tokens& t_;
};

// The names of a comma-separated list from token k on; the index after the list.
int nameList(const Reader& r, int k, QVarLengthArray<Ref, 1>& out) {
    while (r.isWord(k)) {
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
    // FNV-1a over the upper-case characters: no copy of the name is made.
    Key h = 14695981039346656037ull;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const char16_t upper =
            u < 0x80 ? char16_t(u >= u'a' && u <= u'z' ? u - 32 : u) : c.toUpper().unicode();
        h = (h ^ upper) * 1099511628211ull;
    }
    return h;
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
    if (tokens.size() == 1 && r.isWord(0)) {
        const Ref name = r.ref(0);
        if (!isReserved(name.key)) {
            f.flags |= LineFacts::Bare;
            f.name = name;
        }
    }
    int k = 0;
    if (r.isWord(0) && r.isSymbol(1, u':')) {
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
            if (k + 2 == r.size() && r.isWord(k + 1) && !isReserved(keyOf(r.text(k + 1))))
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
    replaceLines(0, 0, lines);
    dirty_ = true;
}

void LabelCheck::replaceLines(int first, int removed, int added) {
    const int count = int(facts_.size());
    first = std::clamp(first, 0, count);
    removed = std::clamp(removed, 0, count - first);
    added = std::max(added, 0);
    // Typing changes one line for one, and mostly no fact of it: then nothing needs checking again.
    bool same = added == removed;
    const auto at = facts_.begin() + first;
    if (added < removed) {
        facts_.erase(at + added, at + removed);
    } else if (added > removed) {
        std::vector<std::unique_ptr<const LineFacts>> gap(size_t(added - removed));
        facts_.insert(at + removed, std::make_move_iterator(gap.begin()), std::make_move_iterator(gap.end()));
    }
    for (int i = 0; i < added; ++i) {
        LineFacts f = readLine(text_(first + i), comments_);
        std::unique_ptr<const LineFacts>& slot = facts_[size_t(first + i)];
        if (same && (slot ? *slot == f : f.isEmpty()))
            continue;
        same = false;
        slot = f.isEmpty() ? nullptr : std::make_unique<const LineFacts>(std::move(f));
    }
    if (!same)
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

void LabelCheck::check() {
    if (!dirty_)
        return;
    dirty_ = false;
    problems_.clear();
    includes_.clear();
    defined_.clear();
    // Only keys are hashed and compared here; the text is read for the problems alone.
    QList<std::pair<int, const Ref*>> labels;
    QList<std::pair<int, const Ref*>> jumps;
    QHash<Key, int> bare;
    bool inAsm = false;
    for (int i = 0; i < int(facts_.size()); ++i) {
        const LineFacts* f = facts_[size_t(i)].get();
        if (!f)
            continue;
        if (inAsm) {
            inAsm = !(f->flags & LineFacts::AsmEnd);
            continue;
        }
        if (f->flags & LineFacts::Label) {
            labels.append({i, &f->name});
            ++defined_[f->name.key];
        }
        if ((f->flags & LineFacts::Bare) && !bare.contains(f->name.key))
            bare.insert(f->name.key, i);
        for (const Ref& j : f->jumps)
            jumps.append({i, &j});
        if (f->flags & LineFacts::Include) {
            const QString name = sourcescan::includeName(text_(i).toString());
            if (!name.isNull())
                includes_.append(name);
        }
        inAsm = f->flags & LineFacts::AsmStart;
    }
    const auto nameAt = [this](int line, const Ref& r) {
        return text_(line).mid(r.column, r.length).toString();
    };
    QString elsewhere;
    if (!unread_.isEmpty())
        elsewhere = QStringLiteral(" (not found here; \"") + unread_.join(QStringLiteral("\", \"")) +
                    QStringLiteral("\" could not be read)");
    for (const auto& [line, ref] : std::as_const(jumps)) {
        if (defined_.contains(ref->key) || outside_.contains(ref->key))
            continue;
        const auto lacking = bare.constFind(ref->key);
        const QString hint = lacking == bare.cend()
                                 ? elsewhere
                                 : QStringLiteral(" (line ") + QString::number(*lacking + 1) +
                                       QStringLiteral(" holds the name without a colon)");
        const QString name = nameAt(line, *ref);
        problems_.append({Kind::Undefined, name, line, ref->column, ref->length,
                          QStringLiteral("Undefined label: ") + name + hint});
    }
    for (const auto& [line, ref] : std::as_const(labels)) {
        const int times = defined_.value(ref->key);
        if (times < 2 || isReserved(ref->key))
            continue;
        const QString count =
            times == 2 ? QStringLiteral("twice") : QString::number(times) + QStringLiteral(" times");
        const QString name = nameAt(line, *ref);
        problems_.append({Kind::Duplicate, name, line, ref->column, ref->length,
                          QStringLiteral("Label defined ") + count + QStringLiteral(": ") + name});
    }
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
        LabelCheck file([&lines](int line) { return QStringView(lines[line]); });
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
    constexpr int MaxFolderFiles = 500;
    const QFileInfo document(documentPath);
    const QFileInfoList files =
        document.dir().entryInfoList({"*.pbp", "*.bas", "*.inc", "*.pbc"}, QDir::Files, QDir::Name);
    QStringList out;
    if (files.size() > MaxFolderFiles)
        return out;
    const QString self = fileKey(documentPath);
    for (const QFileInfo& file : files) {
        const QString path = file.filePath();
        QStringList lines;
        if (fileKey(path) == self || !readLines(path, lines))
            continue;
        for (const QString& line : std::as_const(lines)) {
            if (!line.contains(QLatin1StringView("include"), Qt::CaseInsensitive))
                continue;
            const QString name = sourcescan::includeName(line);
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
