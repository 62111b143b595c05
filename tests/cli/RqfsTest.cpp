#include "RqfsTest.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace {

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
    const auto inPath = m_dir / ".stdin";
    const auto outPath = m_dir / ".stdout";
    const auto errPath = m_dir / ".stderr";
    WriteText(inPath.filename().string(), input);

    std::vector<std::string> words{RQFS_BINARY};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    const int created = O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), created, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), created, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, m_dir.c_str());
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, RQFS_BINARY, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);

    RqfsResult result;
    int waitStatus = 0;
    if (spawned == 0 && waitpid(pid, &waitStatus, 0) == pid && WIFEXITED(waitStatus))
        result.status = WEXITSTATUS(waitStatus);
    result.out = ReadText(outPath);
    result.err = ReadText(errPath);
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
