// Whether the Favorites folder and its order values stayed as they were
// after a time, learned once on a worker thread: the worker watches each
// folder the scan enters (and the order key) before it reads its listing,
// so that no change falls between the check and the watch. The answer is
// then ready at any later moment without reading the folder again.
#ifndef VA_LISTS_FAVORITESWATCH_H
#define VA_LISTS_FAVORITESWATCH_H

#include <windows.h>

#include <memory>
#include <optional>

#include "lists/FavoritesScan.h"

class CFavoritesWatch
{
public:
    CFavoritesWatch();
    ~CFavoritesWatch();  // Stop
    CFavoritesWatch(const CFavoritesWatch&) = delete;
    CFavoritesWatch& operator=(const CFavoritesWatch&) = delete;

    // Starts the worker with its own copies of the places and the time.
    // false when it cannot start.
    bool Start(const FavoritesScanPlaces& places, const FILETIME& since);
    // Whether anything a scan reads changed after the time, waiting for the
    // check when it still runs: true when the check found a change, false
    // when it found none and no watch fired since. No answer when a watch
    // fired or could not be set up, no worker runs, or it watches other
    // places or a later time than this one.
    std::optional<bool> ChangedSince(const FavoritesScanPlaces& places, const FILETIME& since);
    // Ends the worker and closes what it watched.
    void Stop();

private:
    struct State;
    static DWORD WINAPI Run(void* param);

    std::unique_ptr<State> m_state;
    HANDLE m_thread = nullptr;
};

#endif // VA_LISTS_FAVORITESWATCH_H
