#include "update/TestHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace quorvel::test {
namespace {

bool SendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

const char* Reason(int status) {
    switch (status) {
        case 200: return "OK";
        case 302: return "Found";
        case 404: return "Not Found";
        default: return "Status";
    }
}

}  // namespace

TestHttpServer::TestHttpServer() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // the kernel picks a free port: no race with other tests
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

TestHttpServer::~TestHttpServer() {
    stop_ = true;
    thread_.join();
    close(listener_);
}

void TestHttpServer::Answer(const std::string& path, const HttpAnswer& answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[path] = answer;
}

std::string TestHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> TestHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void TestHttpServer::Serve() {
    while (!stop_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, 20) <= 0) continue;
        int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        Handle(client);
        close(client);
    }
}

bool TestHttpServer::Hold(int client) {
    while (!stop_) {
        pollfd waiting{client, POLLIN, 0};
        if (poll(&waiting, 1, 20) > 0) {
            char byte;
            if (recv(client, &byte, 1, 0) <= 0) return false;  // the client gave up
        }
    }
    return false;
}

void TestHttpServer::Handle(int client) {
    std::string head;
    char buffer[4096];
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (head.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < deadline && !stop_) {
        pollfd waiting{client, POLLIN, 0};
        if (poll(&waiting, 1, 20) <= 0) continue;
        ssize_t got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        head.append(buffer, static_cast<std::size_t>(got));
    }
    std::string target;
    std::size_t space = head.find(' ');
    if (space != std::string::npos) target = head.substr(space + 1, head.find(' ', space + 1) - space - 1);
    HttpAnswer answer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(head);
        auto found = answers_.find(target);
        if (found == answers_.end()) {
            answer.status = 404;
            answer.body = "<html><body>not here</body></html>";
        } else {
            answer = found->second;
        }
    }
    if (answer.stallBeforeHeaders) {
        Hold(client);
        return;
    }
    std::string reply = "HTTP/1.1 " + std::to_string(answer.status) + " " + Reason(answer.status) + "\r\n";
    if (answer.sendLength) reply += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
    for (const std::string& line : answer.headers) reply += line + "\r\n";
    reply += "Connection: close\r\n\r\n";
    if (!SendAll(client, reply.data(), reply.size())) return;
    std::size_t at = 0;
    for (std::size_t piece : answer.pieces) {
        std::this_thread::sleep_for(std::chrono::milliseconds(answer.pauseMs));
        piece = std::min(piece, answer.body.size() - at);
        if (!SendAll(client, answer.body.data() + at, piece)) return;
        at += piece;
    }
    if (answer.stallAfterPieces) {
        Hold(client);
        return;
    }
    if (!answer.pieces.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(answer.pauseMs));
    SendAll(client, answer.body.data() + at, answer.body.size() - at);
    shutdown(client, SHUT_WR);
    // Let the client read to the end before the socket goes away.
    Hold(client);
}

}  // namespace quorvel::test
