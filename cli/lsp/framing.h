#pragma once
// The protocol's message framing: a header block of "Name: value" lines ended by an empty
// line, whose Content-Length gives the size of the JSON body that follows.
#include <cstddef>
#include <functional>
#include <string>

namespace orvanta::cli::lsp {

// The largest body the reader accepts by default; a longer one is refused without being
// read whole.
inline constexpr std::size_t kMaxBody = std::size_t{64} << 20;

struct Frame {
    enum class Kind {
        Body,      // `body` holds one message's bytes
        BadHeader, // a header block without a valid Content-Length, or one over kMaxBody
        End,       // the input has ended
    };
    Kind kind = Kind::End;
    std::string body;
};

class MessageReader {
  public:
    // `read` fills up to n bytes and returns the count, 0 at the end of the input.
    using Source = std::function<std::size_t(char* buffer, std::size_t n)>;
    explicit MessageReader(Source source, std::size_t maxBody = kMaxBody)
        : source_(std::move(source)), maxBody_(maxBody) {}

    // The next frame. After a bad header the reader skips to the next line that holds
    // "Content-Length:" and reads on from there, so one broken message costs no more.
    Frame next();

  private:
    bool fill();
    // The next line without its line end; false at the end of the input. Very long lines
    // keep only their tail, enough to find a header in it.
    bool readLine(std::string& line);
    bool readBody(std::size_t length, std::string& body);

    Source source_;
    std::size_t maxBody_;
    std::string buffer_;
    std::string pending_; // a header line found inside a broken block
    std::size_t at_ = 0;
    bool resyncing_ = false;
};

// One message framed for writing.
std::string frameMessage(const std::string& body);

} // namespace orvanta::cli::lsp
