// run-as-standard-user PROGRAM [ARGUMENTS]: runs a program with the token a
// member of the administrators gets from Windows before elevation: the
// administrators' group only there to deny, no privileges beyond the least.
// Wine runs everything as an administrator; with this token the installer's
// own check of the rights (UserInfo) sees a standard user, as it would on
// Windows. Exits with the program's exit code, 255 when it cannot start it.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HANDLE StandardUserToken() {
    HANDLE own = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &own)) return nullptr;
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof administrators;
    HANDLE restricted = nullptr;
    if (::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size)) {
        SID_AND_ATTRIBUTES denyOnly = {administrators, 0};
        if (!::CreateRestrictedToken(own, DISABLE_MAX_PRIVILEGE, 1, &denyOnly, 0, nullptr, 0, nullptr,
                                     &restricted))
            restricted = nullptr;
    }
    ::CloseHandle(own);
    return restricted;
}

// The rest of this program's command line: the program to run and its arguments.
std::wstring CommandLineAfterOwnName() {
    const wchar_t* line = ::GetCommandLineW();
    bool quoted = false;
    for (; *line && (quoted || *line != L' '); ++line)
        if (*line == L'"') quoted = !quoted;
    while (*line == L' ') ++line;
    return line;
}

}  // namespace

int wmain() {
    std::wstring command = CommandLineAfterOwnName();
    HANDLE token = StandardUserToken();
    if (!token || command.empty()) {
        std::fprintf(stderr, "run-as-standard-user: no restricted token (%lu) or no program\n", ::GetLastError());
        return 255;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessAsUserW(token, nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                &startup, &process)) {
        std::fprintf(stderr, "run-as-standard-user: cannot start the program (%lu)\n", ::GetLastError());
        return 255;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 255;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(token);
    return static_cast<int>(code);
}
