#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the download tests: fixed answers per path, paced or stalled
// bodies, and a record of the requests it saw. One connection at a time, closed after each answer.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorvel::test {

struct HttpAnswer {
    int status = 200;
    std::string body;
    bool sendLength = true;                  // Content-Length header; otherwise the close ends the body
    std::vector<std::string> headers;        // extra header lines without CR LF
    std::vector<std::size_t> pieces;         // body piece sizes sent with a pause between (rest at the end)
    int pauseMs = 80;
    bool stallAfterPieces = false;           // after the pieces: hold the connection without sending more
    bool stallBeforeHeaders = false;         // accept, read the request, answer nothing
};

// A whole answer sent at once.
inline HttpAnswer Reply(int status, std::string body, std::vector<std::string> headers = {}) {
    HttpAnswer answer;
    answer.status = status;
    answer.body = std::move(body);
    answer.headers = std::move(headers);
    return answer;
}

class TestHttpServer {
public:
    TestHttpServer();  // listens on a free loopback port
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    void Answer(const std::string& path, const HttpAnswer& answer);
    std::string Url(const std::string& path) const;  // "http://127.0.0.1:<port><path>"
    int Port() const { return port_; }
    // Request heads received so far (request line and headers, CR LF kept).
    std::vector<std::string> Requests() const;

private:
    void Serve();
    void Handle(int client);
    bool Hold(int client);  // waits until the client leaves or the server stops

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, HttpAnswer> answers_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace quorvel::test
