#include "peers/scripted_smtp.h"

#include <memory>

namespace statvane::test {

ScriptedSmtp::ScriptedSmtp()
    : server([this](QTcpSocket& connection, ScriptedServer&) { converse(connection); }) {}

void ScriptedSmtp::converse(QTcpSocket& connection) {
    connection.write("220 scripted ready\r\n");
    auto inMessage = std::make_shared<bool>(false);
    ScriptedServer::onLines(connection, [this, &connection, inMessage](const QByteArray& line) {
        if (*inMessage) {
            if (line == ".") {
                *inMessage = false;
                answer(connection, ".");
            } else {
                messages += line.toStdString() + "\n";
            }
            return;
        }
        const std::string& command = commands.emplace_back(line.toStdString());
        const std::string verb = command.substr(0, command.find_first_of(" :"));
        answer(connection, verb);
        if (replyTo(verb).rfind("354", 0) == 0)
            *inMessage = true;
    });
}

std::vector<std::string> ScriptedSmtp::verbs() const {
    std::vector<std::string> out;
    for (const auto& command : commands)
        out.push_back(command.substr(0, command.find_first_of(" :")));
    return out;
}

std::string ScriptedSmtp::replyTo(const std::string& verb) const {
    const std::map<std::string, std::string> defaults{
        {".", "250 queued"}, {"DATA", "354 go ahead"}, {"QUIT", "221 bye"}};
    if (const auto found = replies.find(verb); found != replies.end())
        return found->second;
    const auto standard = defaults.find(verb);
    return standard != defaults.end() ? standard->second : "250 ok";
}

void ScriptedSmtp::answer(QTcpSocket& connection, const std::string& verb) {
    const std::string reply = replyTo(verb);
    if (reply.empty()) {
        if (onSilence)
            onSilence();
        return;
    }
    connection.write((reply + "\r\n").c_str());
    if (verb == "QUIT")
        connection.disconnectFromHost();
}

} // namespace statvane::test
