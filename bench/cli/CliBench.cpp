// rqfs build reading large manifests, each a whole run of the program as a user starts
// it, against the plain parse of the same card.json text by the JSON library rqfs reads
// it with: the least any program must do to take the text apart at all.
#include "RatioBench.h"
#include "ScratchDirectory.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

using namespace RQ540::Bench;

// The most card.json may hold.
constexpr std::size_t kManifestCap = 64 << 20;

// {"model": 0, "x": [{}, {}, ...]}, as many empty objects as kManifestCap bytes hold.
std::string EmptyObjects()
{
    std::string text = R"({"model": 0, "x": [{})";
    text.reserve(kManifestCap);
    while (text.size() + 3 + 2 <= kManifestCap)
        text += ",{}";
    text.append(kManifestCap - 2 - text.size(), ' ');
    return text + "]}";
}

// count zero-filled data files in the root, as rqfs dump writes each entry but on one line.
std::string FileEntries(int count)
{
    std::string text = R"({"model": 0, "children": [)";
    for (int i = 1; i <= count; ++i) {
        char entry[96];
        std::snprintf(entry, sizeof entry,
                      R"(%s{"id": "%04X", "kind": "file", "type": "data", "size": 16, "zero": true})",
                      i == 1 ? "" : ", ", static_cast<unsigned>(i));
        text += entry;
    }
    return text + "]}";
}

void WriteText(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Runs rqfs build DIR OUT with its output streams on /dev/null; the manifests measured
// here are refused, so it must end with status 1.
void Build(benchmark::State& state, const std::filesystem::path& dir,
           const std::filesystem::path& out)
{
    std::string program = RQFS_BINARY;
    std::string command = "build";
    std::string dirText = dir.string();
    std::string outText = out.string();
    char* arguments[] = {program.data(), command.data(), dirText.data(), outText.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environ) != 0 ||
            waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 1) {
            state.SkipWithError("rqfs build did not refuse the manifest");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

// Reads the file whole and parses it into a fresh value, released before the next.
void Parse(benchmark::State& state, const std::filesystem::path& manifest)
{
    for (auto _ : state) {
        std::ifstream in(manifest, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        nlohmann::json value = nlohmann::json::parse(bytes.begin(), bytes.end());
        benchmark::DoNotOptimize(value);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const CScratchDirectory scratch;
    const auto hostile = scratch / "objects";
    const auto ordinary = scratch / "entries";
    WriteText(hostile / "card.json", EmptyObjects());
    WriteText(ordinary / "card.json", FileEntries(40000));

    AddRatioRow("objects", "build from a 64 MiB card.json of empty objects in an array (refused)",
                "plain JSON parse", 2.0,
                [&](benchmark::State& state) { Build(state, hostile, scratch / "out.rqfs"); },
                [&](benchmark::State& state) { Parse(state, hostile / "card.json"); });
    AddRatioRow("entries",
                "build from a card.json of 40,000 file entries, 2.96 MB (refused by the card)",
                "plain JSON parse", 2.0,
                [&](benchmark::State& state) { Build(state, ordinary, scratch / "out.rqfs"); },
                [&](benchmark::State& state) { Parse(state, ordinary / "card.json"); });
    return RunRatioBenchmarks(argc, argv);
}
