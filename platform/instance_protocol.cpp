#include "instance_protocol.h"

#include "core/utf.h"

#include <array>
#include <utility>

namespace platform {
namespace {

constexpr std::array<std::pair<std::string_view, Verb>, 5> kVerbs{{
    {"show", Verb::Show},
    {"toggle", Verb::Toggle},
    {"quit", Verb::Quit},
    {"tray", Verb::Tray},
    {"clipboard", Verb::Clipboard},
}};

std::string_view verbName(Verb verb) {
    for (const auto &[name, v] : kVerbs)
        if (v == verb)
            return name;
    return "show";
}

// Command names are short words of lower-case letters, digits and ':', '-', '_'.
bool isArgument(std::string_view s) {
    if (s.empty() || s.size() > 64)
        return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ':' || c == '-' || c == '_'))
            return false;
    return true;
}

} // namespace

std::string encodeRequest(const Request &request) {
    std::string line(verbName(request.verb));
    if (request.verb == Verb::Clipboard) {
        line += ' ';
        line += request.argument;
    }
    line += '\n';
    return line;
}

std::optional<Request> decodeRequest(std::string_view line, std::string &error) {
    const std::size_t space = line.find(' ');
    const std::string_view verb = line.substr(0, space);
    const std::string_view argument =
        space == std::string_view::npos ? std::string_view{} : line.substr(space + 1);
    for (const auto &[name, v] : kVerbs) {
        if (name != verb)
            continue;
        if (v == Verb::Clipboard) {
            if (!isArgument(argument)) {
                error = "clipboard needs one command name";
                return std::nullopt;
            }
            return Request{v, std::string(argument)};
        }
        if (space != std::string_view::npos) {
            error = std::string(name) + " takes no argument";
            return std::nullopt;
        }
        return Request{v, {}};
    }
    std::string shown;
    for (char c : verb.substr(0, 32))
        shown += (c >= 0x20 && c < 0x7F) ? c : '?';
    error = "unknown request '" + shown + "'";
    return std::nullopt;
}

std::string encodeReply(const Reply &reply) {
    if (reply.ok)
        return "ok\n";
    std::string line = "error ";
    for (char c : reply.message)
        line += (c == '\n' || c == '\r') ? ' ' : c;
    line += '\n';
    return line;
}

std::optional<Reply> decodeReply(std::string_view line) {
    if (line == "ok")
        return Reply{true, {}};
    constexpr std::string_view kError = "error ";
    if (line.substr(0, kError.size()) == kError)
        return Reply{false, printableText(line.substr(kError.size()))};
    if (line == "error")
        return Reply{false, {}};
    return std::nullopt;
}

std::string printableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (byte >= 0x20 && byte != 0x7F)
                out += text[i];
            ++i;
            continue;
        }
        // A well-formed UTF-8 sequence is kept whole; anything else is one '?' a byte.
        char32_t cp;
        const int got = core::stepUtf8(reinterpret_cast<const unsigned char *>(text.data()) + i, text.size() - i, cp);
        if (got <= 0) {
            out += '?';
            ++i;
            continue;
        }
        // U+0080..U+009F, the C1 controls, are left out.
        if (cp > 0x9F)
            out.append(text.substr(i, static_cast<std::size_t>(got)));
        i += static_cast<std::size_t>(got);
    }
    return out;
}

void LineBuffer::append(std::string_view bytes) {
    if (m_broken)
        return;
    m_data.append(bytes);
    // Only a line still without its end can be too long; whole lines are taken as they come.
    const std::size_t lastEnd = m_data.rfind('\n');
    const std::size_t open = lastEnd == std::string::npos ? m_data.size() : m_data.size() - lastEnd - 1;
    if (open > kMaxLine)
        m_broken = true;
}

std::optional<std::string> LineBuffer::takeLine() {
    if (m_broken)
        return std::nullopt;
    const std::size_t end = m_data.find('\n');
    if (end == std::string::npos)
        return std::nullopt;
    if (end > kMaxLine) {
        m_broken = true;
        return std::nullopt;
    }
    std::string line = m_data.substr(0, end);
    m_data.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::string instanceName(unsigned uid, std::string_view x11Display, std::string_view waylandDisplay) {
    std::string_view display = !x11Display.empty() ? x11Display : waylandDisplay;
    if (display.empty())
        display = "none";
    std::string name = "lanternfin-" + std::to_string(uid) + "-";
    for (char c : display.substr(0, 64)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-' || c == '_';
        name += plain ? c : '_';
    }
    return name;
}

StartStep decideStart(Contact contact, const Request &request, bool spawned) {
    switch (contact) {
    case Contact::Answered:
    case Contact::Silent:
    case Contact::Failed:
    case Contact::Stranger:
        return StartStep::Exit;
    case Contact::NoServer:
    case Contact::Refused:
        if (spawned)
            return StartStep::Retry;
        if (request.verb == Verb::Quit)
            return StartStep::ExitQuietly;
        // A conversion needs an instance that outlives this command, to own the clipboard.
        if (request.verb == Verb::Clipboard)
            return StartStep::Spawn;
        return contact == Contact::Refused ? StartStep::RemoveStale : StartStep::Listen;
    }
    return StartStep::Exit;
}

core::Message contactError(Contact contact, const std::string &socketName) {
    switch (contact) {
    case Contact::Silent:
        return {core::MessageId::InstanceSilent, {socketName}};
    case Contact::NoServer:
    case Contact::Refused:
        return {core::MessageId::InstanceNotStarted, {socketName}};
    case Contact::Failed:
        return {core::MessageId::InstanceUnreachable, {socketName}};
    case Contact::Stranger:
        return {core::MessageId::SocketOfStranger, {socketName}};
    case Contact::Answered:
        break;
    }
    return {};
}

} // namespace platform
