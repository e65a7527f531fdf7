#pragma once
// Runs the language server on standard input and output until the client says exit or
// closes its end, and returns the process's exit status.
namespace orvanta::cli::lsp {

int runOnStandardStreams();

} // namespace orvanta::cli::lsp
