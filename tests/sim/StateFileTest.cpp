#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "SimTestUtil.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using simtest::Bytes;
using simtest::Request;

class StateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-sim-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "mouse.json").string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    static void Write(VirtualBackend& backend, size_t mouse, const Bytes& request) {
        VirtualMouse& m = backend.Mouse(mouse);
        const bool feature = m.FeatureFamily();
        HidHandle* handle = backend.Open(m.PathOf(feature ? SimInterface::Vendor : SimInterface::Mouse));
        if (feature)
            backend.SendFeature(handle, request.data(), request.size());
        else
            backend.Write(handle, request.data(), request.size());
        backend.Close(handle);
    }
    void WriteFile(const std::string& text) { std::ofstream(path_) << text; }
    nlohmann::json ReadFile() {
        std::ifstream in(path_);
        return nlohmann::json::parse(in, nullptr, false);
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(StateFileTest, MemorySurvivesARestart) {
    MouseMemory report, feature;
    {
        auto backend = simtest::MakeBackend("101;201:wireless", path_);
        Write(*backend, 0, Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x10}));
        Write(*backend, 0, Request({0x00, 0x08, 0x00, 0x01, 0x05, 0x04, 0x30, 0x01, 0x00, 0x04}));
        Write(*backend, 1,
              simtest::Feature({0x0C, 0x01, 0x04, 0x00, 0x00, 0x01, 0x04, 0x09, 0x20, 0x02, 0x00}));
        backend->Mouse(1).PressDpiButton();
        report = backend->Mouse(0).Memory();
        feature = backend->Mouse(1).Memory();
        EXPECT_TRUE(backend->StateWarning().empty()) << backend->StateWarning();
    }
    const nlohmann::json file = ReadFile();
    ASSERT_TRUE(file.is_object());
    EXPECT_TRUE(file.contains("101:wired"));
    EXPECT_TRUE(file.contains("201:wireless"));
    EXPECT_EQ(file["101:wired"]["report_rate"], 16);

    auto again = simtest::MakeBackend("201:wireless;101", path_);
    EXPECT_EQ(again->Mouse(1).Memory(), report);
    EXPECT_EQ(again->Mouse(0).Memory(), feature);
    EXPECT_EQ(report.macros.at(4), (Bytes{0x30, 0x01, 0x00, 0x04}));
    EXPECT_EQ(feature.dpiIndex, 2);

    auto other = simtest::MakeBackend("101:wireless", path_);
    EXPECT_EQ(other->Mouse(0).Memory(), FactoryMemory(149, false)) << "keyed by type and link";
    EXPECT_FALSE(fs::exists(path_ + ".tmp")) << "no temporary file is left behind";
}

// The temporary file is a new one of our own: a link planted under a predictable name is not followed.
TEST_F(StateFileTest, APlantedLinkIsNotFollowed) {
    const fs::path victim = dir_ / "victim";
    { std::ofstream(victim) << "keep"; }
    fs::create_symlink(victim, path_ + ".tmp" + std::to_string(getpid()));
    fs::create_symlink(victim, path_ + ".tmp-");
    {
        auto backend = simtest::MakeBackend("101", path_);
        backend->Mouse(0).PressDpiButton();
        EXPECT_TRUE(backend->StateWarning().empty()) << backend->StateWarning();
    }
    std::ifstream in(victim);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "keep");
    EXPECT_TRUE(ReadFile().contains("101:wired"));
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir_))
        files += !entry.is_symlink() && entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2u) << "the state file and the victim, no temporary left";
}

TEST_F(StateFileTest, CorruptFilesAreReportedAndIgnored) {
    const struct {
        const char* name;
        const char* text;
        const char* warning;
    } cases[] = {
        {"not JSON", "{\"101:wired\": {\"report_rate\": ", "is not a JSON object"},
        {"not an object", "[1, 2, 3]", "is not a JSON object"},
        {"wrong size", R"({"101:wired": {"report_rate": 2, "dpi_raw": [1, 2, 3]}})",
         "entry 101:wired ignored"},
        {"wrong type", R"({"101:wired": {"report_rate": "fast"}})", "entry 101:wired ignored"},
        {"byte out of range", R"({"101:wired": {"report_rate": 300}})", "entry 101:wired ignored"},
        {"bad macro slot", R"({"101:wired": {"macros": {"x": [48]}}})", "entry 101:wired ignored"},
        {"DPI count 0", R"({"101:wired": {"dpi_count": 0}})", "entry 101:wired ignored"},
    };
    for (const auto& c : cases) {
        WriteFile(c.text);
        auto backend = simtest::MakeBackend("101", path_);
        ASSERT_NE(backend, nullptr) << c.name;
        EXPECT_NE(backend->StateWarning().find(c.warning), std::string::npos)
            << c.name << ": " << backend->StateWarning();
        EXPECT_EQ(backend->Mouse(0).Memory(), FactoryMemory(149, false)) << c.name;
        Write(*backend, 0, Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x04}));
        EXPECT_EQ(ReadFile()["101:wired"]["report_rate"], 4)
            << c.name << ": the next change writes a sound file";
    }
}

TEST_F(StateFileTest, PartialEntryKeepsFactoryValuesForTheRest) {
    WriteFile(R"({"101:wired": {"report_rate": 8, "future_field": true}})");
    auto backend = simtest::MakeBackend("101", path_);
    MouseMemory expected = FactoryMemory(149, false);
    expected.reportRate = 8;
    EXPECT_EQ(backend->Mouse(0).Memory(), expected);
    EXPECT_TRUE(backend->StateWarning().empty());
}

TEST_F(StateFileTest, UnwritableFileIsReported) {
    auto backend = simtest::MakeBackend("101", (dir_ / "missing" / "mouse.json").string());
    Write(*backend, 0, Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x04}));
    Write(*backend, 0, Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x08}));
    const std::string warning = backend->StateWarning();
    EXPECT_NE(warning.find("cannot write"), std::string::npos) << warning;
    EXPECT_EQ(warning.find('\n'), std::string::npos) << "reported once";
    EXPECT_EQ(backend->Mouse(0).Memory().reportRate, 8) << "the mouse keeps working";
}

TEST_F(StateFileTest, EnvironmentNamesTheFile) {
    ASSERT_EQ(setenv(kVirtualStateEnv, path_.c_str(), 1), 0);
    std::string error;
    auto backend = CreateVirtualBackend("101", simtest::TestModes(), &error);
    unsetenv(kVirtualStateEnv);
    ASSERT_NE(backend, nullptr) << error;
    Write(*backend, 0, Request({0x00, 0x02, 0x00, 0x01, 0x01, 0x04}));
    EXPECT_EQ(ReadFile()["101:wired"]["report_rate"], 4);
}

}  // namespace
}  // namespace quorvel
