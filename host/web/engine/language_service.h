#pragma once
// The one language service of the page, over the device's folder with the editor's texts.
// The editor's calls and the design calls share it, so both answer about the text on show.
namespace orvanta::language {
class Workspace;
}

namespace orvanta::web {

language::Workspace& languageService();

} // namespace orvanta::web
