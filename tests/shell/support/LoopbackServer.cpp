// The loopback HTTP server of the test support: one thread, select() over the listener and the open
// connections, each connection answered once its request header is complete and then closed.
#include "LoopbackServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <memory>

namespace lumorra::test {
namespace {

constexpr size_t kMaxConnections = 32;        // more wait in the listen backlog
constexpr size_t kMaxHeaderBytes = 64 * 1024; // a larger header is answered 431 and dropped
constexpr size_t kMaxRecorded = 100000;       // a run-away client cannot exhaust memory
constexpr auto kConnectionTimeout = std::chrono::seconds(5);

struct Connection {
    SOCKET socket;
    std::string received;
    std::chrono::steady_clock::time_point deadline;
};

void SendAll(SOCKET socket, std::string_view data) {
    while (!data.empty()) {
        const int sent = send(socket, data.data(), static_cast<int>(std::min<size_t>(data.size(), 1 << 20)), 0);
        if (sent <= 0) {
            return;
        }
        data.remove_prefix(static_cast<size_t>(sent));
    }
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

std::string Response(std::string_view path) {
    const std::string body = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>loopback</title></head>"
                             "<body><p>" +
                             HtmlEscape(path) + "</p></body></html>";
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

LoopbackServer::LoopbackServer() {
    WSADATA data;
    if (const int rc = WSAStartup(MAKEWORD(2, 2), &data); rc != 0) {
        error_ = "WSAStartup failed: " + std::to_string(rc);
        return;
    }
    winsockStarted_ = true;

    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) {
        error_ = "socket failed: " + std::to_string(WSAGetLastError());
        return;
    }
    listener_ = static_cast<uintptr_t>(listener);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof(address);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener, SOMAXCONN) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        error_ = "bind/listen on 127.0.0.1 failed: " + std::to_string(WSAGetLastError());
        return;
    }
    u_long nonBlocking = 1;
    ioctlsocket(listener, FIONBIO, &nonBlocking);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    if (thread_.joinable()) {
        thread_.join(); // select() wakes at least every 50 ms to see stopping_
    }
    if (listener_ != ~uintptr_t{0}) {
        closesocket(static_cast<SOCKET>(listener_));
    }
    if (winsockStarted_) {
        WSACleanup();
    }
}

std::string LoopbackServer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<HttpRequest> LoopbackServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

size_t LoopbackServer::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

std::vector<std::string> LoopbackServer::Paths() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> paths;
    for (const auto& request : requests_) {
        paths.push_back(request.path);
    }
    return paths;
}

void LoopbackServer::Clear() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

bool LoopbackServer::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

void LoopbackServer::Record(HttpRequest request) {
    {
        std::lock_guard lock(mutex_);
        if (requests_.size() < kMaxRecorded) {
            requests_.push_back(std::move(request));
        }
    }
    arrived_.notify_all();
}

void LoopbackServer::Serve() {
    const SOCKET listener = static_cast<SOCKET>(listener_);
    std::vector<Connection> connections;
    auto closeConnection = [](Connection& connection) { closesocket(connection.socket); };

    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) {
                break;
            }
        }
        fd_set readable;
        FD_ZERO(&readable);
        if (connections.size() < kMaxConnections) {
            FD_SET(listener, &readable);
        }
        for (const auto& connection : connections) {
            FD_SET(connection.socket, &readable);
        }
        timeval wait{0, 50 * 1000};
        const int ready = select(0, &readable, nullptr, nullptr, &wait);
        const auto now = std::chrono::steady_clock::now();

        if (ready > 0 && FD_ISSET(listener, &readable)) {
            for (;;) {
                SOCKET client = accept(listener, nullptr, nullptr);
                if (client == INVALID_SOCKET) {
                    break;
                }
                u_long blocking = 0; // accepted sockets inherit non-blocking; answers are sent whole
                ioctlsocket(client, FIONBIO, &blocking);
                DWORD sendTimeoutMs = 5000;
                setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendTimeoutMs),
                           sizeof(sendTimeoutMs));
                connections.push_back(Connection{client, {}, now + kConnectionTimeout});
                if (connections.size() >= kMaxConnections) {
                    break;
                }
            }
        }

        for (auto& connection : connections) {
            bool done = false;
            if (ready > 0 && FD_ISSET(connection.socket, &readable)) {
                char buffer[4096];
                const int received = recv(connection.socket, buffer, sizeof(buffer), 0);
                if (received <= 0) {
                    done = true; // closed or failed before a whole header: nothing to answer
                } else {
                    connection.received.append(buffer, static_cast<size_t>(received));
                    const size_t end = connection.received.find("\r\n\r\n");
                    if (end != std::string::npos) {
                        const std::string_view head(connection.received.data(), end);
                        const std::string_view line = head.substr(0, head.find("\r\n"));
                        const size_t firstSpace = line.find(' ');
                        const size_t secondSpace =
                            firstSpace == std::string_view::npos ? firstSpace : line.find(' ', firstSpace + 1);
                        HttpRequest request;
                        request.at = std::chrono::steady_clock::now();
                        request.method = std::string(line.substr(0, firstSpace));
                        if (firstSpace != std::string_view::npos) {
                            request.path = std::string(line.substr(firstSpace + 1, secondSpace - firstSpace - 1));
                        }
                        SendAll(connection.socket, Response(request.path));
                        Record(std::move(request));
                        shutdown(connection.socket, SD_SEND);
                        done = true;
                    } else if (connection.received.size() > kMaxHeaderBytes) {
                        SendAll(connection.socket,
                                "HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Length: 0\r\n"
                                "Connection: close\r\n\r\n");
                        done = true;
                    }
                }
            }
            if (!done && now > connection.deadline) {
                done = true;
            }
            if (done) {
                closeConnection(connection);
                connection.socket = INVALID_SOCKET;
            }
        }
        connections.erase(std::remove_if(connections.begin(), connections.end(),
                                         [](const Connection& c) { return c.socket == INVALID_SOCKET; }),
                          connections.end());
    }
    for (auto& connection : connections) {
        closeConnection(connection);
    }
}

} // namespace lumorra::test
