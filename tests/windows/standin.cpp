// A Windows console program that stands in for the compiler and the device programmer in the Windows
// tests. It records its folder and its arguments, one a line in UTF-8, in <its own path>.log and its
// process id in <its own path>.pid, then copies <its own path>.out (read whole at the start, so that a
// test may rewrite it for the next run) to its standard output (a text stream, so each line ends in
// CR LF), and exits with 1 when that file holds an error line. A few lines are steps, not output:
//   WAIT               flush what was written and wait until <its own path>.go exists
//   SLEEP <ms>         flush, then wait that long
//   STDERR <text>      write the text to standard error
//   REPEAT <n> <text>  write the text as n lines
//   EXIT <code>        exit with that code once the steps are done
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <shellapi.h>
#include <sstream>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace

int main() {
    wchar_t self[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, self, DWORD(std::size(self)));
    wchar_t folder[MAX_PATH * 4] = {};
    GetCurrentDirectoryW(DWORD(std::size(folder)), folder);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);

    std::string record = utf8(folder) + "\n";
    for (int i = 1; i < argc; ++i)
        record += utf8(argv[i]) + "\n";
    // Written under another name and renamed, so that a reader never sees half a record.
    const std::wstring log = std::wstring(self) + L".log", part = log + L".part";
    if (FILE* f = _wfopen(part.c_str(), L"wb")) {
        std::fwrite(record.data(), 1, record.size(), f);
        std::fclose(f);
        MoveFileExW(part.c_str(), log.c_str(), MOVEFILE_REPLACE_EXISTING);
    }

    const std::string id = std::to_string(GetCurrentProcessId()) + "\n";
    if (FILE* f = _wfopen((std::wstring(self) + L".pid").c_str(), L"wb")) {
        std::fwrite(id.data(), 1, id.size(), f);
        std::fclose(f);
    }

    std::string steps;
    if (FILE* f = _wfopen((std::wstring(self) + L".out").c_str(), L"rb")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof(buffer), f)) > 0;)
            steps.append(buffer, got);
        std::fclose(f);
    }
    int rc = 0, exitCode = -1;
    const std::wstring go = std::wstring(self) + L".go";
    std::istringstream in(steps);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto is = [&line](const char* word) { return line.rfind(word, 0) == 0; };
        if (line == "WAIT") {
            std::fflush(stdout);
            while (GetFileAttributesW(go.c_str()) == INVALID_FILE_ATTRIBUTES)
                Sleep(20);
        } else if (is("SLEEP ")) {
            std::fflush(stdout);
            Sleep(DWORD(std::atol(line.c_str() + 6)));
        } else if (is("EXIT ")) {
            exitCode = std::atoi(line.c_str() + 5);
        } else if (is("STDERR ")) {
            std::fprintf(stderr, "%s\n", line.c_str() + 7);
        } else if (is("REPEAT ")) {
            char* text = nullptr;
            const long count = std::strtol(line.c_str() + 7, &text, 10);
            const std::string repeated = std::string(*text ? text + 1 : text) + "\n";
            for (long i = 0; i < count; ++i)
                std::fputs(repeated.c_str(), stdout);
        } else {
            std::fprintf(stdout, "%s\n", line.c_str());
            if (is("ERROR"))
                rc = 1;
        }
    }
    std::fflush(stdout);
    return exitCode >= 0 ? exitCode : rc;
}
