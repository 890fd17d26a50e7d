#pragma once

// A small HTTP/1.1 server on 127.0.0.1 and a free port for tests of network clients: canned replies
// by path, redirections, and the misbehaving servers a client has to survive. Each connection is
// served on its own thread and closed after one reply.

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace zev::test {

struct HttpReply {
    enum class Kind {
        Normal, // status, headers and the whole body
        Stall, // reads the request and never answers
        CutOff, // announces the whole body, sends half of it and closes
        Endless, // no length; sends body over and over until the client gives up
    };
    Kind kind = Kind::Normal;
    int status = 200;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
    bool sendLength = true; // Content-Length for Normal replies

    static HttpReply Of(Kind kind, std::string body = {})
    {
        HttpReply reply;
        reply.kind = kind;
        reply.body = std::move(body);
        return reply;
    }
};

class HttpServer {
public:
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int port() const { return m_port; }
    // "http://127.0.0.1:<port>" + path
    std::string Url(std::string_view path) const;

    void Serve(const std::string& path, HttpReply reply);
    void ServePage(const std::string& path, std::string body)
    {
        Serve(path, HttpReply::Of(HttpReply::Kind::Normal, std::move(body)));
    }
    void Redirect(const std::string& path, const std::string& location, int status = 302);

    // The request targets in the order they arrived.
    std::vector<std::string> Requests() const;
    int RequestCount(std::string_view path) const;

private:
    void AcceptLoop();
    void Handle(int fd);
    bool SendAll(int fd, std::string_view bytes) const;

    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop { false };
    mutable std::mutex m_mutex;
    std::map<std::string, HttpReply> m_replies;
    std::vector<std::string> m_requests;
    std::vector<std::thread> m_connections;
    std::thread m_acceptor;
};

} // namespace zev::test
