#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "cli/lsp/server.h"
#include "platform/disk_folder.h"

namespace orvanta::cli::lsp {
namespace {

// A server with one open 1,000-line document, answering requests as it does over its
// pipes: each request parsed from its body, answered and the answer serialized.
class OpenDocument {
  public:
    OpenDocument()
        : folder_(std::filesystem::temp_directory_path() /
                  ("orvanta-lsp-bench-" + std::to_string(::getpid()))),
          server_(
              [this](const Json& message) { written_ += serialize(message).size(); },
              [this](const std::string&) { return std::make_unique<DiskFolder>(folder_.string()); },
              false) {
        std::filesystem::create_directories(folder_);
        std::string text;
        for (int i = 0; i < 250; ++i)
            text += "LED;9;9;9;0\nSetColor;63488\nTacho;1;2;30;30;0\nToggleText;0;0;HELLO;1;1\n";
        send({{"jsonrpc", "2.0"},
              {"id", 1},
              {"method", "initialize"},
              {"params", {{"capabilities", Json::object()}}}});
        send({{"jsonrpc", "2.0"},
              {"method", "textDocument/didOpen"},
              {"params", {{"textDocument", {{"uri", uri()}, {"version", 1}, {"text", text}}}}}});
    }
    ~OpenDocument() { std::filesystem::remove_all(folder_); }

    std::string uri() const { return "file://" + (folder_ / "config.txt").string(); }
    void send(const Json& message) { server_.receive({Frame::Kind::Body, serialize(message)}); }
    std::string request(const char* method, int line, int character) const {
        return serialize({{"jsonrpc", "2.0"},
                          {"id", 2},
                          {"method", method},
                          {"params",
                           {{"textDocument", {{"uri", uri()}}},
                            {"position", {{"line", line}, {"character", character}}}}}});
    }
    void receive(const std::string& body) { server_.receive({Frame::Kind::Body, body}); }

  private:
    std::filesystem::path folder_;
    std::size_t written_ = 0;
    Server server_;
};

void BM_ServerHover(benchmark::State& state) {
    OpenDocument document;
    const std::string body = document.request("textDocument/hover", 502, 8);
    for (auto _ : state) document.receive(body);
}
BENCHMARK(BM_ServerHover)->Unit(benchmark::kMicrosecond);

void BM_ServerCompletion(benchmark::State& state) {
    OpenDocument document;
    const std::string body = document.request("textDocument/completion", 1000, 0);
    for (auto _ : state) document.receive(body);
}
BENCHMARK(BM_ServerCompletion)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace orvanta::cli::lsp
