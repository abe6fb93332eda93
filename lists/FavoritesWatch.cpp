#include "lists/FavoritesWatch.h"

#include <string>
#include <vector>

namespace {

// A folder is watched alone, not with its subtree: Wine's subtree watch
// misses changes in the subfolders that existed when it began.
const DWORD kFolderChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;
// More folders than this are left to the check at the exit.
const size_t kMaxWatchedFolders = 1000;

bool SamePlaces(const FavoritesScanPlaces& a, const FavoritesScanPlaces& b)
{
    return a.folder == b.folder && a.wideFolder == b.wideFolder && a.ieOrder == b.ieOrder &&
           a.orderKey == b.orderKey && a.orderValueName == b.orderValueName;
}

bool Unsignalled(HANDLE handle)
{
    return WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
}

} // namespace

struct CFavoritesWatch::State
{
    ~State()
    {
        for (HANDLE folder : folders)
            FindCloseChangeNotification(folder);
        if (orderKey != nullptr)
            RegCloseKey(orderKey);
        for (HANDLE event : {orderEvent, done, stop, ask, answered})
            if (event != nullptr)
                CloseHandle(event);
    }

    // Read on the worker only: a folder's notification reaches its handle
    // through the thread that set the watch up, which a wait of its own
    // lets in first; read from another thread, a change made a moment ago
    // may not show yet.
    bool AnyWatchFired() const
    {
        for (HANDLE folder : folders)
            if (!Unsignalled(folder))
                return true;
        return orderEvent != nullptr && !Unsignalled(orderEvent);
    }

    // Watches the order key, or the nearest key above it while it is not
    // made yet, with every key below it.
    bool WatchOrderKey()
    {
        CString name(places.orderKey);
        while (RegOpenKeyExA(HKEY_CURRENT_USER, name, 0, KEY_NOTIFY, &orderKey) != ERROR_SUCCESS) {
            orderKey = nullptr;
            const int slash = name.ReverseFind('\\');
            if (slash <= 0)
                return false;
            name = name.Left(slash);
        }
        orderEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        return orderEvent != nullptr &&
               RegNotifyChangeKeyValue(orderKey, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                       orderEvent, TRUE) == ERROR_SUCCESS;
    }

    bool WatchFolder(const std::wstring& folder)
    {
        HANDLE change = folders.size() < kMaxWatchedFolders
                            ? FindFirstChangeNotificationW(folder.c_str(), FALSE, kFolderChanges)
                            : INVALID_HANDLE_VALUE;
        if (change == INVALID_HANDLE_VALUE) {
            watching = false;
            return false;
        }
        folders.push_back(change);
        return true;
    }

    FavoritesScanPlaces places;
    FILETIME since = {};
    HANDLE stop = nullptr;      // set: the worker ends
    HANDLE done = nullptr;      // set by the worker once the two below hold its answer
    bool watching = true;       // every watch was set up
    bool changed = true;        // the check found a change
    HANDLE ask = nullptr;       // set: the worker reads its watches into fired
    HANDLE answered = nullptr;  // set by the worker once fired holds the answer
    bool fired = false;
    // Owned by the worker while it runs: a thread's watches end with it.
    std::vector<HANDLE> folders;
    HKEY orderKey = nullptr;
    HANDLE orderEvent = nullptr;
};

CFavoritesWatch::CFavoritesWatch() = default;

CFavoritesWatch::~CFavoritesWatch()
{
    Stop();
}

bool CFavoritesWatch::Start(const FavoritesScanPlaces& places, const FILETIME& since)
{
    Stop();
    auto state = std::make_unique<State>();
    state->places = places;
    state->since = since;
    state->stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    state->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    state->ask = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    state->answered = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (state->stop == nullptr || state->done == nullptr || state->ask == nullptr || state->answered == nullptr)
        return false;
    m_thread = CreateThread(nullptr, 0, Run, state.get(), 0, nullptr);
    if (m_thread == nullptr)
        return false;
    m_state = std::move(state);
    return true;
}

DWORD WINAPI CFavoritesWatch::Run(void* param)
{
    State& state = *static_cast<State*>(param);
    state.watching = !state.places.ieOrder || state.places.orderKey.IsEmpty() || state.WatchOrderKey();
    state.changed = !state.watching ||
                    FavoritesChangedSince(state.places, state.since, [&state](const std::wstring& folder) {
                        return state.WatchFolder(folder);
                    });
    SetEvent(state.done);
    const HANDLE wake[] = {state.stop, state.ask};
    while (WaitForMultipleObjects(2, wake, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        state.fired = state.AnyWatchFired();
        SetEvent(state.answered);
    }
    return 0;
}

std::optional<bool> CFavoritesWatch::ChangedSince(const FavoritesScanPlaces& places, const FILETIME& since)
{
    State* state = m_state.get();
    if (state == nullptr || !SamePlaces(state->places, places) || CompareFileTime(&since, &state->since) < 0)
        return std::nullopt;
    if (WaitForSingleObject(state->done, INFINITE) != WAIT_OBJECT_0 || !state->watching)
        return std::nullopt;
    if (state->changed)
        return true;
    // A watch that fired may have seen no more than a time stamp, or a key
    // near the order values: the caller reads the listings to know.
    SetEvent(state->ask);
    const HANDLE reply[] = {state->answered, m_thread};
    if (WaitForMultipleObjects(2, reply, FALSE, INFINITE) != WAIT_OBJECT_0 || state->fired)
        return std::nullopt;
    return false;
}

void CFavoritesWatch::Stop()
{
    if (m_thread != nullptr) {
        SetEvent(m_state->stop);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    m_state.reset();
}
