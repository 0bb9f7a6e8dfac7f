#pragma once

#include "peers/scripted_server.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace statvane::test {

// An SMTP server that answers each command from a table (default 250) and
// records the commands; DATA takes a message up to ".", answered as the
// table's "." (default "250 queued"), and keeps it. An empty reply leaves the
// command unanswered and calls onSilence.
class ScriptedSmtp {
  public:
    ScriptedSmtp();

    std::map<std::string, std::string> replies;
    std::vector<std::string> commands;
    // The lines of every message taken, each ended by LF.
    std::string messages;
    std::function<void()> onSilence;
    ScriptedServer server;

    std::vector<std::string> verbs() const;

  private:
    void converse(QTcpSocket& connection);
    std::string replyTo(const std::string& verb) const;
    void answer(QTcpSocket& connection, const std::string& verb);
};

} // namespace statvane::test
