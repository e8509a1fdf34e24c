#pragma once
// What other windows ask of the main window, as small interfaces, so that each
// window can be built and tested without the whole main window.

#include <functional>

// The connection routine of the main window: reads the site manager's boxes
// (server, port, user, password, folders) and connects. The attempt goes on
// in the background; `done` runs once it has ended, connected or not.
class ConnectionStarter {
public:
    virtual ~ConnectionStarter() = default;
    virtual void premier_Connect(bool IsQuickConnect, std::function<void()> done = {}) = 0;
};
