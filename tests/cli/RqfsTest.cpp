#include "RqfsTest.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace {

constexpr unsigned kNobody = 65534;

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

void RqfsTest::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "rqfs-" + std::string(info->test_suite_name()) + "-" + info->name() +
                       "-" + std::to_string(getpid());
    // Parameterised tests carry '/' in their names.
    for (char& c : name)
        c = c == '/' ? '_' : c;
    m_dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    RunOk({"new", m_image});
}

void RqfsTest::TearDown()
{
    if (!HasFailure())
        std::filesystem::remove_all(m_dir);
}

RqfsResult RqfsTest::Run(const std::vector<std::string>& args, const std::string& input) const
{
    RunOptions options;
    options.input = input;
    return RunWith(args, options);
}

RqfsResult RqfsTest::RunWith(const std::vector<std::string>& args, const RunOptions& options) const
{
    // The captures live in a folder of their own, which stays writable whatever a test does
    // to the permissions of its directory.
    static std::atomic<unsigned> runs{0};
    const auto captures = m_dir / ".captures";
    std::filesystem::create_directories(captures);
    const std::string run = std::to_string(runs++);
    const auto inPath = options.inputFile.empty() ? captures / ("in" + run) : options.inputFile;
    const auto outPath = captures / ("out" + run);
    const auto errPath = captures / ("err" + run);
    if (options.inputFile.empty())
        std::ofstream(inPath, std::ios::binary) << options.input;

    std::vector<std::string> words{RQFS_BINARY};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // Only async-signal-safe calls between fork and exec.
    const pid_t pid = fork();
    if (pid == 0) {
        const int created = O_WRONLY | O_CREAT | O_TRUNC;
        const int in = open(inPath.c_str(), O_RDONLY);
        const int out = open(outPath.c_str(), created, 0666);
        const int err = open(errPath.c_str(), created, 0666);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
            dup2(err, 2) < 0 || chdir(m_dir.c_str()) != 0)
            _exit(127);
        if (options.fileSizeLimit > 0) {
            // A write past the limit then fails as on a full disk instead of ending rqfs.
            const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit),
                               static_cast<rlim_t>(options.fileSizeLimit)};
            signal(SIGXFSZ, SIG_IGN);
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(127);
        }
        if (options.ordinaryUser && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(127);
        execve(RQFS_BINARY, argv.data(), environ);
        _exit(127);
    }

    RqfsResult result;
    int waitStatus = 0;
    if (pid > 0 && waitpid(pid, &waitStatus, 0) == pid && WIFEXITED(waitStatus))
        result.status = WEXITSTATUS(waitStatus);
    result.out = ReadText(outPath);
    result.err = ReadText(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    if (options.inputFile.empty())
        std::filesystem::remove(inPath);
    return result;
}

std::string RqfsTest::RunOk(const std::vector<std::string>& args, const std::string& input) const
{
    const RqfsResult result = Run(args, input);
    std::ostringstream command;
    for (const std::string& arg : args)
        command << ' ' << arg;
    EXPECT_EQ(result.status, 0) << "rqfs" << command.str() << "\n" << result.err;
    return result.out;
}

std::vector<uint8_t> RqfsTest::ReadBytes(const std::string& name) const
{
    const std::string text = ReadText(PathOf(name));
    return {text.begin(), text.end()};
}

void RqfsTest::WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    std::ofstream file(PathOf(name), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void RqfsTest::WriteText(const std::string& name, const std::string& text) const
{
    WriteBytes(name, {text.begin(), text.end()});
}

void RqfsTest::Patch(const std::string& name, std::size_t offset, uint32_t value, int width) const
{
    std::vector<uint8_t> bytes = ReadBytes(name);
    ASSERT_LE(offset + static_cast<std::size_t>(width), bytes.size());
    for (int i = 0; i < width; ++i)
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    WriteBytes(name, bytes);
}
