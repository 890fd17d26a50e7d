#include "support/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace zev::test {

namespace {

constexpr int kPollMs = 20;

std::string StatusText(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}

} // namespace

HttpServer::HttpServer()
{
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
        || ::listen(m_listen, 16) != 0 || ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        throw std::runtime_error("the test server cannot listen on 127.0.0.1");
    m_port = ntohs(addr.sin_port);
    m_acceptor = std::thread([this] { AcceptLoop(); });
}

HttpServer::~HttpServer()
{
    m_stop = true;
    m_acceptor.join();
    for (std::thread& t : m_connections)
        t.join();
    ::close(m_listen);
}

std::string HttpServer::Url(std::string_view path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

void HttpServer::Serve(const std::string& path, HttpReply reply)
{
    std::lock_guard lock(m_mutex);
    m_replies[path] = std::move(reply);
}

void HttpServer::Redirect(const std::string& path, const std::string& location, int status)
{
    HttpReply reply;
    reply.status = status;
    reply.headers = { { "Location", location } };
    Serve(path, reply);
}

std::vector<std::string> HttpServer::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

int HttpServer::RequestCount(std::string_view path) const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count(m_requests.begin(), m_requests.end(), path));
}

void HttpServer::AcceptLoop()
{
    while (!m_stop) {
        pollfd p { m_listen, POLLIN, 0 };
        if (::poll(&p, 1, kPollMs) <= 0)
            continue;
        int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        m_connections.emplace_back([this, fd] {
            Handle(fd);
            ::close(fd);
        });
    }
}

bool HttpServer::SendAll(int fd, std::string_view bytes) const
{
    while (!bytes.empty() && !m_stop) {
        ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return bytes.empty();
}

void HttpServer::Handle(int fd)
{
    std::string request;
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        if (m_stop)
            return;
        pollfd p { fd, POLLIN, 0 };
        if (::poll(&p, 1, kPollMs) <= 0)
            continue;
        char buf[4096];
        ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            return;
        request.append(buf, static_cast<std::size_t>(n));
    }
    std::size_t sp1 = request.find(' ');
    std::size_t sp2 = request.find(' ', sp1 + 1);
    std::string target
        = sp1 == std::string::npos || sp2 == std::string::npos ? std::string() : request.substr(sp1 + 1, sp2 - sp1 - 1);
    HttpReply reply = HttpReply::Of(HttpReply::Kind::Normal, "not here");
    reply.status = 404;
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(target);
        if (auto it = m_replies.find(target); it != m_replies.end())
            reply = it->second;
    }
    if (reply.kind == HttpReply::Kind::Stall) {
        while (!m_stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        return;
    }
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + StatusText(reply.status) + "\r\n";
    for (const auto& [name, value] : reply.headers)
        head += name + ": " + value + "\r\n";
    if (reply.kind != HttpReply::Kind::Endless && (reply.sendLength || reply.kind == HttpReply::Kind::CutOff))
        head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (!SendAll(fd, head))
        return;
    switch (reply.kind) {
    case HttpReply::Kind::CutOff:
        SendAll(fd, std::string_view(reply.body).substr(0, reply.body.size() / 2));
        break;
    case HttpReply::Kind::Endless:
        while (!reply.body.empty() && SendAll(fd, reply.body)) { }
        break;
    default:
        SendAll(fd, reply.body);
    }
    ::shutdown(fd, SHUT_WR);
}

} // namespace zev::test
