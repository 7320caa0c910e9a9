// A Windows console program that stands in for the compiler and the device programmer in the Windows
// tests. It records its folder and its arguments, one a line in UTF-8, in <its own path>.log, copies
// <its own path>.out to its standard output (a text stream, so each line ends in CR LF), and exits
// with 1 when that file holds an error line. A line "WAIT" is not copied: the program flushes what it
// wrote and waits until <its own path>.go exists.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <shellapi.h>
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

    int rc = 0;
    if (FILE* f = _wfopen((std::wstring(self) + L".out").c_str(), L"rb")) {
        char line[4096];
        const std::wstring go = std::wstring(self) + L".go";
        while (std::fgets(line, sizeof(line), f)) {
            if (std::strncmp(line, "WAIT", 4) == 0) {
                std::fflush(stdout);
                while (GetFileAttributesW(go.c_str()) == INVALID_FILE_ATTRIBUTES)
                    Sleep(20);
                continue;
            }
            std::fputs(line, stdout);
            if (std::strncmp(line, "ERROR", 5) == 0)
                rc = 1;
        }
        std::fclose(f);
    }
    return rc;
}
