#include "LayoutTest.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

void LayoutTest::Dump(const std::string& image, const std::string& dir,
                      const std::vector<std::string>& extra)
{
    std::vector<std::string> args{"dump", image, dir};
    args.insert(args.end(), extra.begin(), extra.end());
    RunOk(args);
    Keep(dir, "dumps");
}

void LayoutTest::Keep(const std::string& dir, const char* kind)
{
    const char* archive = std::getenv("RQFS_DUMP_ARCHIVE");
    if (!archive)
        return;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name() + "-" +
                       std::to_string(++m_kept) + ".json";
    std::replace(name.begin(), name.end(), '/', '_');
    const auto folder = std::filesystem::path(archive) / kind;
    std::filesystem::create_directories(folder);
    const auto manifest =
        std::filesystem::is_directory(PathOf(dir)) ? PathOf(dir) / "card.json" : PathOf(dir);
    std::filesystem::copy_file(manifest, folder / name,
                               std::filesystem::copy_options::overwrite_existing);
}

nlohmann::ordered_json LayoutTest::ReadManifest(const std::string& dir) const
{
    std::ifstream in(PathOf(dir) / "card.json");
    return nlohmann::ordered_json::parse(in);
}

void LayoutTest::WriteManifest(const std::string& dir,
                               const nlohmann::ordered_json& manifest) const
{
    WriteText(dir + "/card.json", manifest.dump(2));
}
