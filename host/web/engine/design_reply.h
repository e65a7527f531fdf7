#pragma once
// The JSON answer of every design question that edits: the edits, the line map, the added
// lines and the warning, or only the reason when it is refused. Lines and columns are
// 0-based, as the language service counts them.
namespace orvanta::language {
struct DesignEdit;
}

namespace orvanta::web {

const char* designEditReply(const language::DesignEdit& edit);

} // namespace orvanta::web
