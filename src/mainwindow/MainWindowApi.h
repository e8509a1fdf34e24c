#pragma once
// What other windows ask of the main window, as small interfaces, so that each
// window can be built and tested without the whole main window.

// The connection routine of the main window: reads the site manager's boxes
// (server, port, user, password, folders) and connects.
class ConnectionStarter {
public:
    virtual ~ConnectionStarter() = default;
    virtual void premier_Connect(bool IsQuickConnect) = 0;
};
