// Refusals say why in the system's words, and where a document stops being well-formed.

#include <sys/stat.h>
#include <unistd.h>

#include "FilesTestSupport.h"
#include "files/FileInput.h"
#include "files/FileProblem.h"
#include "files/MacroFile.h"
#include "support/XmlDoc.h"

namespace quorvel::testing {
namespace {

class FileProblem : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("quorvel-fileproblem-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(dir_ / "locked", std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

TEST_F(FileProblem, ImportRefusalsCarryTheSystemsReason) {
    std::filesystem::create_directories(File("folder.xml"));
    ::mkfifo(File("pipe.xml").c_str(), 0600);
    WriteBytes(File("plain.xml"), "<macro/>");
    struct Case {
        std::string path;
        FileStatus status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {File("missing.xml"), FileStatus::kNotFound,
         "cannot read '" + File("missing.xml") + "': No such file or directory"},
        {File("plain.xml/inner.xml"), FileStatus::kNotFound, "Not a directory"},
        {File("folder.xml"), FileStatus::kUnreadable,
         "cannot read '" + File("folder.xml") + "': Is a directory"},
        {File("pipe.xml"), FileStatus::kUnreadable,
         "cannot read '" + File("pipe.xml") + "': not a regular file"},
    };
    for (const Case& c : cases) {
        std::string bytes;
        const FileResult r = ReadImportFile(c.path, &bytes);
        EXPECT_EQ(r.status, c.status) << c.path;
        EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
    }
    if (::geteuid() != 0) {  // the superuser reads every file
        WriteBytes(File("locked.xml"), "<macro/>");
        ::chmod(File("locked.xml").c_str(), 0);
        std::string bytes;
        EXPECT_EQ(ReadImportFile(File("locked.xml"), &bytes).message,
                  "cannot read '" + File("locked.xml") + "': Permission denied");
    }
}

TEST_F(FileProblem, ExportRefusalsCarryTheSystemsReason) {
    std::filesystem::create_directories(File("folder.xml"));
    WriteBytes(File("plain"), "x");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {File("no/such/folder.xml"), "No such file or directory"},
        {File("folder.xml"), "Is a directory"},
        {File("plain/inside.xml"), "Not a directory"},
    };
    for (const auto& [path, reason] : cases)
        EXPECT_EQ(WriteFailed(path).message, "cannot write '" + path + "': " + reason);
    // A path that looks writable gives no made-up reason.
    EXPECT_EQ(WriteFailed(File("fine.xml")).message, "cannot write '" + File("fine.xml") + "'");
}

TEST_F(FileProblem, MalformedDocumentsNameLineAndColumn) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"<macro>\r\n<macroinfo macro_name=\"a\">\r\n</macro>\r\n",
         "line 3, column 3: start-end tags mismatch"},
        {"<macro>\n<item desc=\"\xC3\xA9\xC3\xA9\" x=>\n</macro>",
         "line 2, column 19: error parsing element attribute"},
        {"<macro/>\n<macro/>", "line 2, column 1: a second root element"},
        {"<macro/>\nstray", "line 2, column 1: text outside the root element"},
        {"", "line 1, column 1: no root element"},
        {std::string("<macro>\n\0</macro>", 17), "line 2, column 1: a NUL character"},
    };
    for (const auto& [text, where] : cases) {
        EXPECT_FALSE(XmlDoc().LoadBytes(text)) << where;
        EXPECT_EQ(XmlSyntaxProblem(text), where) << text;
    }
    EXPECT_EQ(XmlSyntaxProblem("<macro>\n<item/>\n</macro>\n"), "");

    // The import's message carries it, naming the file as every refusal does.
    DeviceDatabase db;
    const MacroImportResult r = ImportSingleMacroBytes(db, cases[0].first, "m.xml");
    EXPECT_EQ(r.message,
              "'m.xml' is not a well-formed XML document (line 3, column 3: start-end tags mismatch)");
}

}  // namespace
}  // namespace quorvel::testing
