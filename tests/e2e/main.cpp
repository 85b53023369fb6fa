// The end-to-end test program: `tavrilo_e2e_tests <path of tavrilo.exe> [gtest flags]`.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "harness.h"

namespace {
// Wine hands us a Unix path when the test runner names the program; CreateProcess wants the
// Windows path of the same file. Wine's own conversion knows the drive mappings; Z: is the
// whole Unix file system in every Wine prefix, should that be missing.
std::wstring windowsPath(const char* given)
{
    std::string path(given);
    if (path.empty() || path[0] != '/') {
        std::wstring wide(path.size() + 1, L'\0');
        wide.resize(static_cast<std::size_t>(
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size())) - 1));
        return wide;
    }
    using ToDos = WCHAR*(CDECL*)(LPCSTR);
    if (auto toDos = reinterpret_cast<ToDos>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_dos_file_name")))) {
        if (WCHAR* dos = toDos(path.c_str())) {
            std::wstring result(dos);
            HeapFree(GetProcessHeap(), 0, dos);
            return result;
        }
    }
    std::wstring result = L"Z:";
    for (char c : path)
        result += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return result;
}
}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <path of tavrilo.exe> [gtest flags]\n", argv[0]);
        return 2;
    }
    e2e::setTavriloPath(windowsPath(argv[1]));
    if (GetFileAttributesW(e2e::tavriloPath().c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "no program at %s\n", argv[1]);
        return 2;
    }
    return RUN_ALL_TESTS();
}
