#pragma once
// A tiny HTTP server on 127.0.0.1 for the update commands: fixed bodies by path (runs of '/' count as
// one, as servers treat them), 404 for anything else. One connection at a time, closed after each answer.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace quorvel::test {

class LoopbackServer {
public:
    LoopbackServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener_, 8);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LoopbackServer() {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }

    void Answer(const std::string& path, const std::string& body) {
        std::lock_guard<std::mutex> lock(mutex_);
        bodies_[Collapse(path)] = body;
    }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    int Hits() const { return hits_; }

private:
    static std::string Collapse(const std::string& path) {
        std::string out;
        for (char c : path) {
            if (c == '/' && !out.empty() && out.back() == '/') continue;
            out += c;
        }
        return out;
    }

    void Serve() {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) continue;
            std::string request;
            char buffer[2048];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, static_cast<size_t>(n));
            }
            ++hits_;
            const size_t start = request.find(' ') + 1;
            const std::string path = Collapse(request.substr(start, request.find(' ', start) - start));
            std::string body, status = "404 Not Found";
            {
                std::lock_guard<std::mutex> lock(mutex_);
                auto it = bodies_.find(path);
                if (it != bodies_.end()) {
                    body = it->second;
                    status = "200 OK";
                }
            }
            const std::string answer = "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
                                       "\r\nConnection: close\r\n\r\n" + body;
            size_t sent = 0;
            while (sent < answer.size()) {
                const ssize_t n = ::send(client, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<size_t>(n);
            }
            ::close(client);
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> hits_{0};
    std::mutex mutex_;
    std::map<std::string, std::string> bodies_;
    std::thread thread_;
};

}  // namespace quorvel::test
