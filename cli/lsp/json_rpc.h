#pragma once
// JSON-RPC over the protocol's frames: parsing, dispatch by method, error answers and the
// lifecycle (initialize, shutdown, exit) that gates every other method.
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace orvanta::cli::lsp {

using Json = nlohmann::json;

namespace error_code {
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kInternalError = -32603;
inline constexpr int kServerNotInitialized = -32002;
} // namespace error_code

// Thrown by a handler to answer its request with an error.
struct RpcError : std::runtime_error {
    RpcError(int code, const std::string& message) : std::runtime_error(message), code(code) {}
    int code;
};

class Dispatcher {
  public:
    using Send = std::function<void(const Json& message)>;
    using RequestHandler = std::function<Json(const Json& params)>;
    using NotificationHandler = std::function<void(const Json& params)>;

    explicit Dispatcher(Send send) : send_(std::move(send)) {}

    // "initialize" is registered like any request; its success opens every other method.
    // "shutdown" and "exit" are the dispatcher's own.
    void onRequest(const std::string& method, RequestHandler handler);
    void onNotification(const std::string& method, NotificationHandler handler);

    // One message's body. Never throws: every fault is answered or, for notifications,
    // dropped.
    void handle(const std::string& body);
    // A frame whose header could not be read: answered as unparseable, with no id.
    void reportBadHeader();

    bool exited() const { return exited_; }
    // 0 when the client asked to shut down before it said exit, 1 otherwise.
    int exitCode() const { return shutDown_ ? 0 : 1; }

  private:
    void dispatch(const Json& message);
    void answer(const Json& id, Json result);
    void fail(const Json& id, int code, const std::string& message);

    Send send_;
    std::map<std::string, RequestHandler> requests_;
    std::map<std::string, NotificationHandler> notifications_;
    bool initialized_ = false;
    bool shutDown_ = false;
    bool exited_ = false;
};

// A line or column number of the client's: negative ones count as 0, those beyond 32 bits
// as the largest. Anything but a number is invalid parameters.
int32_t positionNumber(const Json& value);

// Text for the client: bytes that are not UTF-8 become replacement characters instead of
// making the message unwritable.
std::string serialize(const Json& message);

} // namespace orvanta::cli::lsp
