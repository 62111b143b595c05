#include "RqfsTest.h"

#include "ChildProcess.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

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
                       "-" + std::to_string(std::random_device{}());
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

    RqfsResult result;
    result.status = RunChild({.program = RQFS_BINARY,
                              .args = args,
                              .dir = options.dir.empty() ? m_dir : PathOf(options.dir),
                              .in = inPath,
                              .out = outPath,
                              .err = errPath,
                              .fileSizeLimit = options.fileSizeLimit,
                              .ordinaryUser = options.ordinaryUser});
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
