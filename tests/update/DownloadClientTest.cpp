#include "update/DownloadClient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <iostream>
#include <thread>

#include "update/CurlLibrary.h"
#include "update/TestFiles.h"
#include "update/TestHttpServer.h"
#include "update/UpdateServerFixture.h"

namespace quorvel {
namespace {

using test::HttpAnswer;
using test::Reply;
using test::ScratchDir;
using test::TestHttpServer;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

class DownloadClientTest : public ::testing::Test {
protected:
    void SetUp() override { test::BypassProxies(); }
    static DownloadLimits Quick() { return test::QuickLimits(); }

    TestHttpServer server_;
    ScratchDir dir_;
    DownloadClient client_{Quick()};
    std::vector<int> posted_;
    DownloadClient::ProgressFn record_ = [this](int value) { posted_.push_back(value); };
};

std::string Bytes(std::size_t count) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(i * 7 + 3);
    return bytes;
}

TEST_F(DownloadClientTest, FetchTextReturnsTheBodyAsSent) {
    struct Case {
        const char* name;
        HttpAnswer answer;
        std::string expected;
    };
    HttpAnswer unsized;
    unsized.body = "2.0.1";
    unsized.sendLength = false;
    const Case cases[] = {
        {"plain", Reply(200, "1.2.3"), "1.2.3"},
        {"line end kept", Reply(200, "1.2.3\r\n"), "1.2.3\r\n"},
        {"cut at a zero byte", Reply(200, std::string("1.5\0junk", 8)), "1.5"},
        {"no length", unsized, "2.0.1"},
        {"empty", Reply(200, ""), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = std::string("/") + c.name;
        for (char& ch : path) ch = ch == ' ' ? '_' : ch;
        server_.Answer(path, c.answer);
        std::string text = "before";
        EXPECT_EQ(client_.FetchText(server_.Url(path), &text), kDownloadOk) << client_.LastError();
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(client_.LastHttpStatus(), 200);
    }
}

TEST_F(DownloadClientTest, RequestCarriesAgentAcceptAndNoCacheHeaders) {
    server_.Answer("/version", Reply(200, "1.0"));
    std::string text;
    ASSERT_EQ(client_.FetchText(server_.Url("/version"), &text), kDownloadOk);
    std::vector<std::string> requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& head = requests[0];
    EXPECT_THAT(head, ::testing::StartsWith("GET /version HTTP/1.1\r\n"));
    EXPECT_THAT(head, HasSubstr("\r\nUser-Agent: IIC2.0/PC 5.5.0000\r\n"));
    EXPECT_THAT(head, HasSubstr("\r\nAccept: */*\r\n"));
    EXPECT_THAT(head, HasSubstr("\r\nCache-Control: no-cache\r\n"));
    EXPECT_THAT(head, HasSubstr("\r\nPragma: no-cache\r\n"));
    // One Accept line only: ours replaces the library's.
    EXPECT_EQ(head.find("Accept:"), head.rfind("Accept:"));
}

TEST_F(DownloadClientTest, NonAsciiAddressIsSentAsUtf8) {
    server_.Answer("/%C3%A9t%C3%A9/%E5%9B%BA%E4%BB%B6/version", Reply(200, "9.9"));
    std::string text;
    EXPECT_EQ(client_.FetchText(server_.Url("/été/固件/version"), &text), kDownloadOk) << client_.LastError();
    EXPECT_EQ(text, "9.9");
}

TEST_F(DownloadClientTest, RedirectIsFollowed) {
    server_.Answer("/old", Reply(302, "<html>moved</html>", {"Location: /new"}));
    server_.Answer("/new", Reply(200, "1.4"));
    std::string text;
    EXPECT_EQ(client_.FetchText(server_.Url("/old"), &text), kDownloadOk) << client_.LastError();
    EXPECT_EQ(text, "1.4");
}

TEST_F(DownloadClientTest, FailuresLeaveTheTextAsItWas) {
    // An error page is a failure, not a version text: a short "Not found" would otherwise pass the
    // length check and compare as a newer version.
    server_.Answer("/missing", Reply(404, "Not found"));
    server_.Answer("/huge", Reply(200, std::string(2000, 'x')));
    DownloadLimits small = Quick();
    small.maxTextBytes = 1000;
    DownloadClient capped(small);

    std::string text = "kept";
    EXPECT_EQ(client_.FetchText(server_.Url("/missing"), &text), kDownloadFailed);
    EXPECT_EQ(client_.LastHttpStatus(), 404);
    EXPECT_THAT(client_.LastError(), HasSubstr("404"));
    EXPECT_EQ(capped.FetchText(server_.Url("/huge"), &text), kDownloadFailed);
    EXPECT_EQ(client_.FetchText("http://127.0.0.1:1/version", &text), kDownloadFailed);
    EXPECT_FALSE(client_.LastError().empty());
    EXPECT_EQ(client_.FetchText("file:///etc/hostname", &text), kDownloadFailed);
    EXPECT_EQ(text, "kept");
}

TEST_F(DownloadClientTest, DownloadProgressSequences) {
    HttpAnswer twoReads;
    twoReads.body = Bytes(20480);
    twoReads.pieces = {10240, 10240};
    server_.Answer("/two.zip", twoReads);
    HttpAnswer unsized;
    unsized.body = Bytes(30000);
    unsized.sendLength = false;
    unsized.pieces = {10240, 10240};
    server_.Answer("/unsized.zip", unsized);
    server_.Answer("/small.zip", Reply(200, Bytes(5000)));

    // The first download of a run starts from the initial 0 and so does not post it.
    ASSERT_EQ(client_.DownloadFile(server_.Url("/two.zip"), dir_ / "two.zip", record_), kDownloadOk)
        << client_.LastError();
    EXPECT_THAT(posted_, ElementsAre(2, 8, 10, 55, 100));
    EXPECT_EQ(test::ReadWholeFile(dir_ / "two.zip"), twoReads.body);

    posted_.clear();
    ASSERT_EQ(client_.DownloadFile(server_.Url("/unsized.zip"), dir_ / "unsized.zip", record_), kDownloadOk);
    EXPECT_THAT(posted_, ElementsAre(0, 2, 8, 10, 100));
    EXPECT_EQ(test::ReadWholeFile(dir_ / "unsized.zip"), unsized.body);

    posted_.clear();
    ASSERT_EQ(client_.DownloadFile(server_.Url("/small.zip"), dir_ / "small.zip", record_), kDownloadOk);
    EXPECT_THAT(posted_, ElementsAre(0, 2, 8, 10, 100));
}

TEST_F(DownloadClientTest, ShortReadsNeverPassOneHundred) {
    HttpAnswer ragged;
    ragged.body = Bytes(25000);
    ragged.pieces = {3000, 7000, 9000, 100};
    ragged.pauseMs = 30;
    server_.Answer("/ragged.zip", ragged);
    ASSERT_EQ(client_.DownloadFile(server_.Url("/ragged.zip"), dir_ / "ragged.zip", record_), kDownloadOk);
    ASSERT_FALSE(posted_.empty());
    EXPECT_EQ(posted_.back(), 100);
    for (std::size_t i = 1; i < posted_.size(); ++i) {
        EXPECT_LT(posted_[i - 1], posted_[i]);
        EXPECT_LE(posted_[i], 100);
    }
}

TEST_F(DownloadClientTest, FailedDownloadLeavesNoPartialFileAndKeepsTheOldOne) {
    server_.Answer("/missing.zip", Reply(404, "<html>no such file</html>"));
    std::string target = dir_ / "update.zip";
    test::WriteWholeFile(target, "older archive");

    EXPECT_EQ(client_.DownloadFile(server_.Url("/missing.zip"), target, record_), kDownloadFailed);
    EXPECT_EQ(test::ReadWholeFile(target), "older archive");
    EXPECT_THAT(test::ListTree(dir_.Path()), ElementsAre("update.zip"));
    EXPECT_EQ(posted_.back(), 2);  // the answer never counted as an opened request

    // A target folder that does not exist: the file cannot be created.
    EXPECT_EQ(client_.DownloadFile(server_.Url("/missing.zip"), dir_ / "no/such/folder.zip", nullptr),
              kDownloadFailed);
}

TEST_F(DownloadClientTest, TruncatedBodyIsAFailedRead) {
    // Content-Length promises more than arrives before the close.
    HttpAnswer liar;
    liar.sendLength = false;
    liar.headers = {"Content-Length: 20000"};
    liar.body = Bytes(5000);
    server_.Answer("/cut.zip", liar);
    std::string target = dir_ / "cut.zip";
    EXPECT_EQ(client_.DownloadFile(server_.Url("/cut.zip"), target, record_), kDownloadFailed);
    EXPECT_THAT(test::ListTree(dir_.Path()), ElementsAre());
}

TEST_F(DownloadClientTest, StalledServerEndsAsAFailedRead) {
    HttpAnswer silent;
    silent.stallBeforeHeaders = true;
    // The library averages the speed over a few seconds: a few bytes keep the test short.
    HttpAnswer stuck;
    stuck.body = Bytes(50000);
    stuck.pieces = {8};
    stuck.stallAfterPieces = true;
    server_.Answer("/silent", silent);
    server_.Answer("/stuck.zip", stuck);

    std::string text = "kept";
    EXPECT_EQ(client_.FetchText(server_.Url("/silent"), &text), kDownloadFailed);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(client_.DownloadFile(server_.Url("/stuck.zip"), dir_ / "stuck.zip", record_), kDownloadFailed);
    EXPECT_THAT(client_.LastError(), ::testing::Not(::testing::IsEmpty()));
    EXPECT_THAT(test::ListTree(dir_.Path()), ElementsAre());
}

TEST_F(DownloadClientTest, CancelFromAnotherThreadEndsTheDownload) {
    HttpAnswer stuck;
    stuck.body = Bytes(50000);
    stuck.pieces = {1000};
    stuck.stallAfterPieces = true;
    server_.Answer("/stuck.zip", stuck);
    DownloadLimits patient = Quick();
    patient.stallTimeSeconds = 60;  // only the cancel can end it
    DownloadClient client(patient);
    std::thread canceller([&client] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        client.Cancel();
    });
    EXPECT_EQ(client.DownloadFile(server_.Url("/stuck.zip"), dir_ / "stuck.zip", nullptr), kDownloadFailed);
    canceller.join();
    EXPECT_EQ(client.LastError(), "cancelled");
    EXPECT_THAT(test::ListTree(dir_.Path()), ElementsAre());

    // It stays cancelled until reset.
    server_.Answer("/v", Reply(200, "1.0"));
    std::string text;
    EXPECT_EQ(client.FetchText(server_.Url("/v"), &text), kDownloadFailed);
    client.ResetCancel();
    EXPECT_EQ(client.FetchText(server_.Url("/v"), &text), kDownloadOk);
}

TEST_F(DownloadClientTest, OversizedDownloadIsRefused) {
    server_.Answer("/big.zip", Reply(200, Bytes(4096)));
    HttpAnswer unsized;
    unsized.body = Bytes(4096);
    unsized.sendLength = false;
    server_.Answer("/big-unsized.zip", unsized);
    DownloadLimits small = Quick();
    small.maxDownloadBytes = 4000;
    DownloadClient client(small);
    EXPECT_EQ(client.DownloadFile(server_.Url("/big.zip"), dir_ / "big.zip", nullptr), kDownloadFailed);
    EXPECT_EQ(client.DownloadFile(server_.Url("/big-unsized.zip"), dir_ / "big.zip", nullptr), kDownloadFailed);
    EXPECT_THAT(test::ListTree(dir_.Path()), ElementsAre());
}

TEST(EncodeAddressTest, EncodesOnlyBytesOutsidePrintableAscii) {
    EXPECT_EQ(EncodeAddress("http://h/a b/\xC3\xA9?x=1"), "http://h/a%20b/%C3%A9?x=1");
    EXPECT_EQ(EncodeAddress("https://h:8080/p/version"), "https://h:8080/p/version");
}

// A set-up program or firmware image over plain http could be swapped on the way; only this computer
// (tests, a local mirror) may serve one that way.
TEST(PlainHttpRefusalTest, OnlyThisComputerMayServeFilesOverPlainHttp) {
    const std::string because =
        " is refused for update files: use an https address (plain http is accepted only "
        "from this computer)";
    const std::pair<const char*, std::string> cases[] = {
        {"https://updates.example.com/quorvel/software/Mouse-Setup-1.0.1.zip", ""},
        {"http://127.0.0.1:8080/x.zip", ""},
        {"http://127.8.9.10/x.zip", ""},
        {"http://localhost/x.zip", ""},
        {"HTTP://LocalHost./x.zip", ""},
        {"http://[::1]:8080/x.zip", ""},
        {"http://[::ffff:127.0.0.1]/x.zip", ""},
        {"http://updates.example.com/x.zip", "plain http from updates.example.com" + std::string(because)},
        {"updates.example.com/x.zip", "plain http from updates.example.com" + std::string(because)},
        {"http://192.0.2.1/x.zip", "plain http from 192.0.2.1" + std::string(because)},
        {"http://[2001:db8::1]/x.zip", "plain http from [2001:db8::1]" + std::string(because)},
        {"http://localhost.example.com/x.zip",
         "plain http from localhost.example.com" + std::string(because)},
        {"http://127.0.0.1.example.com/x.zip",
         "plain http from 127.0.0.1.example.com" + std::string(because)},
        {"http://user:pw@10.0.0.1:80/x.zip", "plain http from 10.0.0.1" + std::string(because)},
    };
    for (const auto& [address, refusal] : cases) EXPECT_EQ(PlainHttpRefusal(address), refusal) << address;
}

TEST_F(DownloadClientTest, FilesOverPlainHttpFromAnotherHostAreRefused) {
    const std::string path = dir_ / "Mouse-Setup-1.0.1.zip";
    EXPECT_EQ(client_.DownloadFile("http://192.0.2.1/Mouse-Setup-1.0.1.zip", path, record_), kDownloadFailed);
    EXPECT_EQ(client_.LastError(), PlainHttpRefusal("http://192.0.2.1/"));
    EXPECT_FALSE(std::filesystem::exists(path));

    // Nor through a redirect: the next address is judged before anything is asked of it.
    server_.Answer("/moved.zip", Reply(302, "", {"Location: http://192.0.2.1/Mouse-Setup-1.0.1.zip"}));
    EXPECT_EQ(client_.DownloadFile(server_.Url("/moved.zip"), path, record_), kDownloadFailed);
    EXPECT_EQ(client_.LastError(), "the server redirected to http://192.0.2.1/Mouse-Setup-1.0.1.zip: " +
                                       PlainHttpRefusal("http://192.0.2.1/"));
    EXPECT_FALSE(std::filesystem::exists(path));

    // A redirect that stays on this computer is followed.
    server_.Answer("/here.zip", Reply(301, "", {"Location: /there.zip"}));
    server_.Answer("/there.zip", Reply(200, "PK"));
    EXPECT_EQ(client_.DownloadFile(server_.Url("/here.zip"), path, record_), kDownloadOk)
        << client_.LastError();
    EXPECT_EQ(test::ReadWholeFile(path), "PK");

    // Version texts are not files to run or flash: they may come over plain http from anywhere.
    EXPECT_EQ(PlainHttpRefusal(server_.Url("/version")), "");
}

// The library is opened by the first request, not by the program's start: a process that downloads
// nothing never maps libcurl and its TLS libraries. Checked in a fresh process (this one may have
// downloaded already).
bool CurlMapped() {
    void* handle = dlopen(kCurlLibraryFile, RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) dlclose(handle);
    return handle != nullptr;
}

TEST(CurlLibraryTest, OpenedByTheFirstRequestOnly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (CurlMapped()) {
                std::cerr << "mapped before anything was asked";
                std::exit(1);
            }
            DownloadClient client(test::QuickLimits());
            if (CurlMapped()) {
                std::cerr << "mapped by the client's construction";
                std::exit(1);
            }
            // Nothing listens on port 1: the request fails, but it went out through the library.
            const int result = client.FetchText("http://127.0.0.1:1/version", nullptr);
            if (result != kDownloadFailed || !CurlMapped()) {
                std::cerr << "result " << result << ", " << client.LastError();
                std::exit(1);
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(DownloadClientTest, WithoutTheHttpLibraryEveryRequestSaysWhy) {
    struct Case {
        const char* file;
        const char* because;
    };
    const Case cases[] = {
        {"libquorvel-no-such-curl.so.4", "cannot load libquorvel-no-such-curl.so.4: "},
        // A library that is there but is not libcurl.
        {"libz.so.1", "libz.so.1 is not a libcurl this program can use: it lacks curl_global_init"},
    };
    server_.Answer("/version", Reply(200, "2.0.1"));
    const std::string path = dir_ / "Mouse-Setup-1.0.1.zip";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DownloadClient client(Quick());
        client.SetLibraryFile(c.file);
        std::string text = "kept";
        EXPECT_EQ(client.FetchText(server_.Url("/version"), &text), kDownloadNoSession);
        EXPECT_EQ(text, "kept");
        EXPECT_THAT(client.LastError(), HasSubstr(c.because));
        EXPECT_THAT(client.LastError(), HasSubstr("install the package libcurl4"));
        EXPECT_EQ(client.LastHttpStatus(), 0);

        posted_.clear();
        EXPECT_EQ(client.DownloadFile(server_.Url("/setup.zip"), path, record_), kDownloadNoSession);
        EXPECT_THAT(client.LastError(), HasSubstr(c.because));
        EXPECT_THAT(posted_, ElementsAre());  // 0 is the first value and was never posted before
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    EXPECT_THAT(server_.Requests(), ElementsAre());

    // The same client works again once it is given the real library.
    DownloadClient client(Quick());
    client.SetLibraryFile("libquorvel-no-such-curl.so.4");
    EXPECT_EQ(client.FetchText(server_.Url("/version"), nullptr), kDownloadNoSession);
    client.SetLibraryFile("");
    std::string text;
    EXPECT_EQ(client.FetchText(server_.Url("/version"), &text), kDownloadOk) << client.LastError();
    EXPECT_EQ(text, "2.0.1");
}

}  // namespace
}  // namespace quorvel
