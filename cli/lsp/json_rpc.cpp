#include "cli/lsp/json_rpc.h"

#include <algorithm>
#include <cstdint>

namespace orvanta::cli::lsp {

void Dispatcher::onRequest(const std::string& method, RequestHandler handler) {
    requests_[method] = std::move(handler);
}

void Dispatcher::onNotification(const std::string& method, NotificationHandler handler) {
    notifications_[method] = std::move(handler);
}

void Dispatcher::answer(const Json& id, Json result) {
    send_(Json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void Dispatcher::fail(const Json& id, int code, const std::string& message) {
    send_(Json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void Dispatcher::reportBadHeader() {
    fail(nullptr, error_code::kParseError, "the header has no valid Content-Length");
}

void Dispatcher::handle(const std::string& body) {
    Json message = Json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        fail(nullptr, error_code::kParseError, "the message is not valid JSON");
        return;
    }
    try {
        dispatch(message);
    } catch (const std::exception&) {
        // Only the sending of an answer can get here; there is nobody left to tell.
    }
}

void Dispatcher::dispatch(const Json& message) {
    if (!message.is_object()) {
        fail(nullptr, error_code::kInvalidRequest, "a message must be a JSON object");
        return;
    }
    const auto idField = message.find("id");
    const bool isRequest = idField != message.end();
    const Json id =
        isRequest && (idField->is_number_integer() || idField->is_string()) ? *idField : Json();
    const auto methodField = message.find("method");
    if (methodField == message.end() || !methodField->is_string()) {
        // An answer to a request of ours; the server sends none that wait for one.
        if (isRequest && (message.contains("result") || message.contains("error"))) return;
        fail(id, error_code::kInvalidRequest, "a message needs a method");
        return;
    }
    if (isRequest && id.is_null()) {
        fail(nullptr, error_code::kInvalidRequest, "a request's id must be a number or a string");
        return;
    }
    const std::string& method = methodField->get_ref<const std::string&>();
    // Parameters are read in place: a deeply nested value would exhaust the stack when
    // copied.
    static const Json kNoParams = Json::object();
    const auto paramsField = message.find("params");
    const Json& params = paramsField == message.end() ? kNoParams : *paramsField;

    if (!isRequest) {
        if (method == "exit") {
            exited_ = true;
            return;
        }
        const auto handler = notifications_.find(method);
        // Before initialize and after shutdown notifications are dropped, and unknown ones
        // always are.
        if (!initialized_ || shutDown_ || handler == notifications_.end()) return;
        try {
            handler->second(params);
        } catch (const std::exception&) {
            // A notification has no answer to carry the fault; its effect is simply lost.
        }
        return;
    }

    if (method == "initialize" && initialized_) {
        fail(id, error_code::kInvalidRequest, "the server is initialized already");
        return;
    }
    if (method != "initialize" && !initialized_) {
        fail(id, error_code::kServerNotInitialized, "the server is not initialized yet");
        return;
    }
    if (shutDown_) {
        fail(id, error_code::kInvalidRequest, "the server is shutting down");
        return;
    }
    if (method == "shutdown") {
        shutDown_ = true;
        answer(id, nullptr);
        return;
    }
    const auto handler = requests_.find(method);
    if (handler == requests_.end()) {
        fail(id, error_code::kMethodNotFound, "unknown method " + method);
        return;
    }
    Json result;
    try {
        result = handler->second(params);
    } catch (const RpcError& e) {
        fail(id, e.code, e.what());
        return;
    } catch (const Json::exception& e) {
        fail(id, error_code::kInvalidParams, std::string("invalid parameters: ") + e.what());
        return;
    } catch (const std::exception& e) {
        fail(id, error_code::kInternalError, e.what());
        return;
    }
    if (method == "initialize") initialized_ = true;
    answer(id, std::move(result));
}

int32_t positionNumber(const Json& value) {
    if (value.is_number_unsigned())
        return value.get<uint64_t>() > INT32_MAX ? INT32_MAX : value.get<int32_t>();
    if (value.is_number_integer())
        return static_cast<int32_t>(std::clamp<int64_t>(value.get<int64_t>(), 0, INT32_MAX));
    if (value.is_number_float()) {
        const double n = value.get<double>();
        return n >= 0 && n < INT32_MAX ? static_cast<int32_t>(n) : n >= INT32_MAX ? INT32_MAX : 0;
    }
    throw RpcError(error_code::kInvalidParams, "a position needs numbers");
}

std::string serialize(const Json& message) {
    return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace orvanta::cli::lsp
