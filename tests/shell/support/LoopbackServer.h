// A small HTTP server on 127.0.0.1 for proving that the program's web view really requests an address: it
// records the method, path and arrival time of every request and answers each with a tiny HTML page
// (200, Connection: close). It serves no files, keeps no connection alive and speaks no TLS.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lumorra::test {

struct HttpRequest {
    std::string method;
    std::string path;                         // as sent in the request line, with any query
    std::chrono::steady_clock::time_point at; // when its header had fully arrived
};

class LoopbackServer {
  public:
    // Listens on an ephemeral port and serves from its own thread until destroyed. On failure Port() is 0 and
    // Error() says why.
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    uint16_t Port() const { return port_; }
    const std::string& Error() const { return error_; }
    // "http://127.0.0.1:PORT" followed by path (which should start with "/").
    std::string Url(std::string_view path = "/") const;

    std::vector<HttpRequest> Requests() const;
    size_t RequestCount() const;
    std::vector<std::string> Paths() const;
    // Forgets the requests seen so far.
    void Clear();
    // True once at least count requests have been seen (since the start or the last Clear).
    bool WaitForRequests(size_t count, std::chrono::milliseconds timeout) const;

  private:
    void Serve();
    void Record(HttpRequest request);

    uintptr_t listener_ = ~uintptr_t{0}; // SOCKET, kept opaque so this header needs no winsock2.h
    uint16_t port_ = 0;
    std::string error_;
    bool winsockStarted_ = false;

    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<HttpRequest> requests_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace lumorra::test
