#include "session/chain_walk.h"

#include <map>
#include <memory>
#include <set>

#include "check/file_checker.h"
#include "check/words.h"
#include "core/storage/folder.h"
#include "core/storage/storage.h"

namespace orvanta {

namespace {

// The folder as it stands while the chain is followed, listed once: the checker lists the
// folder for every name it looks up, which for a folder of thousands of files would cost
// more than everything else together.
class ListedOnce final : public Folder {
  public:
    explicit ListedOnce(Folder& folder) : folder_(folder) {}
    std::unique_ptr<File> open(const char* name) override { return folder_.open(name); }
    std::vector<std::string> list(const std::string& sub) override {
        auto found = lists_.find(sub);
        if (found == lists_.end()) found = lists_.emplace(sub, folder_.list(sub)).first;
        return found->second;
    }

  private:
    Folder& folder_;
    std::map<std::string, std::vector<std::string>> lists_;
};

} // namespace

ChainWalk walkChain(Folder& shown, std::size_t maxShown) {
    ListedOnce folder(shown);
    ChainWalk walk;
    std::set<std::string> seen;
    std::optional<std::string> name = std::string("config.txt");
    while (name && seen.insert(*name).second) {
        if (walk.chain.size() == maxShown) {
            walk.more = true;
            break;
        }
        Storage storage(folder);
        if (!check::existsExactly(folder, *name) || storageOpen(storage, name->c_str()) != 0) {
            walk.missing = *name;
            break;
        }
        walk.chain.push_back(*name);
        std::vector<check::Diagnostic> unused;
        check::FileChecker checker(folder, *name, unused);
        name = checker.check(storage);
        if (!name && !checker.successorNamed().empty()) walk.missing = checker.successorNamed();
    }
    return walk;
}

} // namespace orvanta
