#include "platform/folder_watcher.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>

#include "platform/win32/utf16.h"

namespace orvanta {

namespace {

// What one watch keeps besides its event: the folder opened for change notifications and
// the records the system writes while a read is pending. The event, signalled when a
// read has completed, is the watcher's handle.
struct Watch {
    HANDLE folder = INVALID_HANDLE_VALUE;
    OVERLAPPED pending{};
    alignas(DWORD) unsigned char records[16 * 1024];
};

// The watches by their handle; the header keeps nothing but the handle.
std::map<std::intptr_t, std::unique_ptr<Watch>>& watches() {
    static std::map<std::intptr_t, std::unique_ptr<Watch>> table;
    return table;
}

bool startRead(Watch& watch) {
    ResetEvent(watch.pending.hEvent);
    // Names and last-write times: a save in place writes the file, a save by renaming a
    // new file over the old one arrives as a new name.
    return ReadDirectoryChangesW(watch.folder, watch.records, sizeof watch.records, FALSE,
                                 FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE,
                                 nullptr, &watch.pending, nullptr) != 0;
}

// The change records of a completed read, as UTF-8 names, which the folder's file
// functions take.
void collectNames(const Watch& watch, DWORD bytes, std::vector<std::string>& names) {
    for (DWORD at = 0; at + sizeof(FILE_NOTIFY_INFORMATION) <= bytes;) {
        const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(watch.records + at);
        const int length = static_cast<int>(record->FileNameLength / sizeof(WCHAR));
        if (record->Action == FILE_ACTION_ADDED || record->Action == FILE_ACTION_MODIFIED ||
            record->Action == FILE_ACTION_RENAMED_NEW_NAME) {
            const std::string text = utf8FromUtf16(
                std::wstring_view(record->FileName, static_cast<std::size_t>(length)));
            if (!text.empty() && std::find(names.begin(), names.end(), text) == names.end())
                names.push_back(text);
        }
        if (record->NextEntryOffset == 0) break;
        at += record->NextEntryOffset;
    }
}

} // namespace

FolderWatcher::FolderWatcher(const std::string& folder) {
    auto watch = std::make_unique<Watch>();
    watch->folder =
        CreateFileW(folder.empty() ? L"." : utf16FromUtf8(folder).c_str(), FILE_LIST_DIRECTORY,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (watch->folder == INVALID_HANDLE_VALUE) return;
    watch->pending.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (watch->pending.hEvent == nullptr || !startRead(*watch)) {
        if (watch->pending.hEvent != nullptr) CloseHandle(watch->pending.hEvent);
        CloseHandle(watch->folder);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(watch->pending.hEvent);
    watches()[handle_] = std::move(watch);
}

FolderWatcher::~FolderWatcher() {
    const auto found = watches().find(handle_);
    if (found == watches().end()) return;
    Watch& watch = *found->second;
    // The pending read must have ended before its buffer goes.
    DWORD bytes = 0;
    if (CancelIoEx(watch.folder, &watch.pending) || GetLastError() != ERROR_NOT_FOUND)
        GetOverlappedResult(watch.folder, &watch.pending, &bytes, TRUE);
    CloseHandle(watch.folder);
    CloseHandle(watch.pending.hEvent);
    watches().erase(found);
}

std::vector<std::string> FolderWatcher::takeSaved() {
    std::vector<std::string> names;
    const auto found = watches().find(handle_);
    if (found == watches().end()) return names;
    Watch& watch = *found->second;
    DWORD bytes = 0;
    // Not waiting: a read still pending means nothing has changed.
    if (!GetOverlappedResult(watch.folder, &watch.pending, &bytes, FALSE)) {
        if (GetLastError() == ERROR_IO_INCOMPLETE) return names;
    } else {
        collectNames(watch, bytes, names); // none when the records overflowed the buffer
    }
    if (!startRead(watch)) {
        // The folder went away; the window goes on without the watch.
        CloseHandle(watch.folder);
        CloseHandle(watch.pending.hEvent);
        watches().erase(found);
        handle_ = -1;
    }
    return names;
}

} // namespace orvanta
