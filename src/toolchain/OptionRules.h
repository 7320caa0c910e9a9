#pragma once

#include <QString>

// The rules the compiler options dialog applies to what the user typed.
namespace optionrules {

// The MPASM rule: options that select the MPASM assembler ("-ampasm", any case) without asking for
// quiet output ("-oq", any case) lose their surrounding blanks and gain " -oq"; others stay as typed.
QString mpasmOptions(const QString& options);

// The default source folder as stored: a text that ends with a backslash once its surrounding blanks
// are removed loses them and that backslash (on Linux and macOS also a trailing '/', except the root
// folder itself); any other text stays as typed.
QString sourceFolder(const QString& typed);

} // namespace optionrules
