#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Value.h"

class QLocalServer;
class QLockFile;

// Keeps one running player per library folder. The first start takes a lock
// file beside the database and listens on a local socket named after the
// folder; a later start finds the lock taken and hands its arguments to the
// running player through that socket instead of opening the library again.
// A lock left by a process that no longer runs is taken over.
// Everything here runs on the GUI thread.
class SingleInstance {
public:
    // folder: the library's folder, ending in "/".
    explicit SingleInstance(const String& folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process may open the library: it owns it now (and
    // listens for messages), or no lock can be made in the folder at all.
    // False when another running process owns it.
    bool Acquire();
    bool IsOwner() const { return listening_ != nullptr; }

    // Hands the arguments to the running owner; true once it confirmed them.
    // Waits up to timeoutMs for an owner that is still starting.
    bool Send(const std::vector<std::string>& arguments, int timeoutMs = 5000) const;

    // Called on the owner for every message a later start sent (the later
    // start's arguments, possibly none).
    std::function<void(std::vector<std::string>)> WhenMessage;

    // The local socket's name for a folder: the same for every spelling of it.
    static std::string ServerName(const String& folder);

private:
    void Listen();
    void Receive(class QLocalSocket* socket);

    String folder_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> listening_;
};
