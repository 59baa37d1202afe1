// Ending the program the page's way: the tab is hidden (switched away from,
// minimised, about to close) or the page is left. Either may be the last
// chance, so the application keeps its work (OnClose) at each, and the songs
// folder's changes go to the browser's storage at once rather than after
// the current step (web/store.js). The page goes on running when it was only
// hidden.
#include <emscripten/emscripten.h>

#include "host/App.h"
#include "host/Framework.h"
#include "host/TerminationRequests.h"

extern "C" EMSCRIPTEN_KEEPALIVE void zrbPageLeaving() {
    if (c_App* app = Framework().app) app->OnClose();
}

EM_JS(void, ListenForPageLeaving, (), {
    function leaving() {
        _zrbPageLeaving();
        if (Module['zrbSongStore']) Module['zrbSongStore'].writeThrough();
    }
    document.addEventListener(
        'visibilitychange', function() {
            if (document.visibilityState == 'hidden') leaving();
        });
    window.addEventListener('pagehide', leaving);
});

void InstallTerminationRequests() { ListenForPageLeaving(); }

void EndOnTerminationRequest() {}
