#include "ChildProcess.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#else
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

extern char** environ;
#endif

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& text)
{
    const std::u8string utf8(text.begin(), text.end());
    return std::filesystem::path(utf8).wstring();
}

// One argument as CommandLineToArgvW and the C runtime read it back: quoted when it holds
// a space, a tab or a quote or is empty; backslashes doubled only before a quote.
void AppendQuoted(std::wstring& line, const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
}

HANDLE OpenInherited(const std::filesystem::path& path, bool write)
{
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherited,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int RunChild(const ChildRun& run)
{
    std::wstring line;
    AppendQuoted(line, run.program.wstring());
    for (const std::string& arg : run.args) {
        line += L' ';
        AppendQuoted(line, Wide(arg));
    }

    // The child inherits its three handles and no other: handles of files this process
    // opens meanwhile in other threads stay its own, so the tests can remove those files.
    HANDLE in = OpenInherited(run.in, false);
    HANDLE out = OpenInherited(run.out, true);
    HANDLE err = OpenInherited(run.err, true);
    HANDLE handles[] = {in, out, err};
    const char* step = "CreateFileW";
    DWORD error = in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE ||
                          err == INVALID_HANDLE_VALUE
                      ? GetLastError()
                      : 0;
    PROCESS_INFORMATION process{};
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> list(size);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data());
    if (error == 0) {
        step = "the handle list";
        if (InitializeProcThreadAttributeList(attributes, 1, 0, &size)) {
            if (!UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                           handles, sizeof handles, nullptr, nullptr))
                error = GetLastError();
            STARTUPINFOEXW startup{};
            startup.StartupInfo.cb = sizeof startup;
            startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
            startup.StartupInfo.hStdInput = in;
            startup.StartupInfo.hStdOutput = out;
            startup.StartupInfo.hStdError = err;
            startup.lpAttributeList = attributes;
            // Wine, with many processes starting at once, now and then fails to start one
            // with ERROR_INTERNAL_ERROR; that child never ran, so it is started again.
            for (int attempt = 0; error == 0; ++attempt) {
                step = "CreateProcessW";
                if (CreateProcessW(run.program.c_str(), line.data(), nullptr, nullptr, TRUE,
                                   EXTENDED_STARTUPINFO_PRESENT, nullptr, run.dir.c_str(),
                                   &startup.StartupInfo, &process))
                    break;
                error = GetLastError();
                if (error == ERROR_INTERNAL_ERROR && attempt < 5) {
                    std::fprintf(stderr, "starting %ls again after Windows error %lu\n",
                                 run.program.c_str(), error);
                    error = 0;
                    Sleep(100);
                }
            }
            DeleteProcThreadAttributeList(attributes);
        } else {
            error = GetLastError();
        }
    }
    for (HANDLE handle : handles) {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    DWORD status = 0;
    if (error == 0) {
        step = "waiting for it";
        if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process.hProcess, &status))
            error = GetLastError();
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (error != 0) {
        // Says why, in the failing test's output: a status of -1 alone tells nothing.
        std::fprintf(stderr, "running %ls failed in %s: Windows error %lu\n",
                     run.program.c_str(), step, error);
        return -1;
    }
    return static_cast<int>(status);
}

#else

namespace {

constexpr unsigned kNobody = 65534;

}  // namespace

int RunChild(const ChildRun& run)
{
    std::vector<std::string> words{run.program.string()};
    words.insert(words.end(), run.args.begin(), run.args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // Only async-signal-safe calls between fork and exec.
    const pid_t pid = fork();
    if (pid == 0) {
        const int created = O_WRONLY | O_CREAT | O_TRUNC;
        const int in = open(run.in.c_str(), O_RDONLY);
        const int out = open(run.out.c_str(), created, 0666);
        const int err = open(run.err.c_str(), created, 0666);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
            dup2(err, 2) < 0 || chdir(run.dir.c_str()) != 0)
            _exit(127);
        if (run.fileSizeLimit > 0) {
            // A write past the limit then fails as on a full disk instead of ending the child.
            const rlimit limit{static_cast<rlim_t>(run.fileSizeLimit),
                               static_cast<rlim_t>(run.fileSizeLimit)};
            signal(SIGXFSZ, SIG_IGN);
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(127);
        }
        if (run.ordinaryUser && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(127);
        execve(argv[0], argv.data(), environ);
        _exit(127);
    }
    int waitStatus = 0;
    if (pid > 0 && waitpid(pid, &waitStatus, 0) == pid && WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    return -1;
}

#endif
