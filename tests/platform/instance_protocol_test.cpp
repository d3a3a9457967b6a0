// The messages between a start and the running instance, and what a start decides, without sockets.

#include "platform/instance_protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::Contact;
using platform::Request;
using platform::StartStep;
using platform::Verb;

TEST(InstanceProtocol, RequestsSurviveTheLine) {
    const Request requests[] = {
        {Verb::Show, {}},
        {Verb::Toggle, {}},
        {Verb::Quit, {}},
        {Verb::Tray, {}},
        {Verb::Clipboard, "traditional"},
        {Verb::Clipboard, "convert:s2twp"},
    };
    for (const Request &r : requests) {
        const std::string line = platform::encodeRequest(r);
        SCOPED_TRACE(line);
        ASSERT_EQ(line.back(), '\n');
        std::string error;
        EXPECT_EQ(platform::decodeRequest(line.substr(0, line.size() - 1), error), r);
    }
}

TEST(InstanceProtocol, BadRequestsAreRefusedWithAReason) {
    struct Case {
        std::string line, error;
    };
    const Case cases[] = {
        {"frobnicate", "unknown request 'frobnicate'"},
        {"", "unknown request ''"},
        {"SHOW", "unknown request 'SHOW'"},
        {"show now", "show takes no argument"},
        {"toggle ", "toggle takes no argument"},
        {"clipboard", "clipboard needs one command name"},
        {"clipboard ", "clipboard needs one command name"},
        {"clipboard two words", "clipboard needs one command name"},
        {"clipboard Upper", "clipboard needs one command name"},
        {"clipboard \xE7\xB9\x81", "clipboard needs one command name"},
        {std::string("sh\0ow", 5), "unknown request 'sh?ow'"},
        {"\x1b[2J", "unknown request '?[2J'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        std::string error;
        EXPECT_FALSE(platform::decodeRequest(c.line, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(InstanceProtocol, RepliesCarryTheirMessageOnOneLine) {
    EXPECT_EQ(platform::encodeReply({true, {}}), "ok\n");
    EXPECT_EQ(platform::encodeReply({false, "no text\non the\r\nclipboard"}),
              "error no text on the  clipboard\n");
    EXPECT_EQ(platform::decodeReply("ok"), (platform::Reply{true, {}}));
    EXPECT_EQ(platform::decodeReply("error 数目太大"), (platform::Reply{false, "数目太大"}));
    EXPECT_EQ(platform::decodeReply("error"), (platform::Reply{false, {}}));
    EXPECT_FALSE(platform::decodeReply("okay"));
    EXPECT_FALSE(platform::decodeReply(""));
    EXPECT_FALSE(platform::decodeReply("errors x"));
}

TEST(InstanceProtocol, RepliesReachTheTerminalWithoutControlCharacters) {
    const struct {
        const char *line;
        const char *message;
    } cases[] = {
        {"error \x1b[2J\x1b]0;owned\x07gone", "[2J]0;ownedgone"}, // clear screen, set the title
        {"error bell\x07 back\x08space tab\there", "bell backspace tabhere"},
        {"error del\x7f", "del"},
        {"error c1 \xc2\x9b"
         "31m csi",
         "c1 31m csi"},                                           // U+009B, the one-character CSI
        {"error \xc2\xa0nbsp 数目太大", "\xc2\xa0nbsp 数目太大"}, // U+00A0 is printable
        {"error bad \xff\xc0\x9b utf8 \xe6\x95", "bad ??? utf8 ??"},
        {"error \xed\xa0\x80 surrogate", "??? surrogate"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        const std::optional<platform::Reply> reply = platform::decodeReply(c.line);
        ASSERT_TRUE(reply);
        EXPECT_FALSE(reply->ok);
        EXPECT_EQ(reply->message, c.message);
    }
}

TEST(InstanceProtocol, LineBufferJoinsPiecesAndRefusesFloods) {
    platform::LineBuffer b;
    b.append("tog");
    EXPECT_FALSE(b.takeLine());
    b.append("gle\r\nshow\nqu");
    EXPECT_EQ(b.takeLine(), "toggle");
    EXPECT_EQ(b.takeLine(), "show");
    EXPECT_FALSE(b.takeLine());
    b.append("it\n");
    EXPECT_EQ(b.takeLine(), "quit");
    EXPECT_FALSE(b.broken());

    platform::LineBuffer flood;
    for (int i = 0; i < 100 && !flood.broken(); ++i)
        flood.append(std::string(100, 'x'));
    EXPECT_TRUE(flood.broken());
    flood.append("\n");
    EXPECT_FALSE(flood.takeLine());

    // Exactly the longest line is still a line; one more byte is not.
    platform::LineBuffer edge;
    edge.append(std::string(platform::LineBuffer::kMaxLine, 'y') + "\n");
    EXPECT_EQ(edge.takeLine()->size(), platform::LineBuffer::kMaxLine);
    platform::LineBuffer over;
    over.append(std::string(platform::LineBuffer::kMaxLine + 1, 'y') + "\n");
    EXPECT_FALSE(over.takeLine());
}

TEST(InstanceProtocol, OneNamePerUserAndDisplay) {
    struct Case {
        unsigned uid;
        std::string x11, wayland, name;
    };
    const Case cases[] = {
        {1000, ":0", "", "lanternfin-1000-_0"},
        {1000, ":0.0", "wayland-0", "lanternfin-1000-_0.0"},
        {1001, ":0", "", "lanternfin-1001-_0"},
        {1000, "", "wayland-1", "lanternfin-1000-wayland-1"},
        {1000, "", "", "lanternfin-1000-none"},
        {0, "localhost:10.0", "", "lanternfin-0-localhost_10.0"},
        {1000, "../../etc/x", "", "lanternfin-1000-.._.._etc_x"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::instanceName(c.uid, c.x11, c.wayland), c.name);
    }
    EXPECT_EQ(platform::instanceName(1, std::string(500, 'd'), "").size(),
              std::string("lanternfin-1-").size() + 64);
}

TEST(InstanceProtocol, WhatAStartDoesAfterTryingTheInstance) {
    const Request show{Verb::Show, {}}, toggle{Verb::Toggle, {}}, quit{Verb::Quit, {}}, tray{Verb::Tray, {}},
        clip{Verb::Clipboard, "upper"};
    struct Case {
        Contact contact;
        Request request;
        bool spawned;
        StartStep step;
    };
    const Case cases[] = {
        {Contact::Answered, show, false, StartStep::Exit},
        {Contact::Answered, clip, true, StartStep::Exit},
        {Contact::NoServer, show, false, StartStep::Listen},
        {Contact::NoServer, toggle, false, StartStep::Listen},
        {Contact::NoServer, tray, false, StartStep::Listen},
        {Contact::Refused, show, false, StartStep::RemoveStale},
        {Contact::Refused, tray, false, StartStep::RemoveStale},
        {Contact::NoServer, quit, false, StartStep::ExitQuietly},
        {Contact::Refused, quit, false, StartStep::ExitQuietly},
        {Contact::NoServer, clip, false, StartStep::Spawn},
        {Contact::Refused, clip, false, StartStep::Spawn},
        {Contact::NoServer, clip, true, StartStep::Retry},
        {Contact::Refused, clip, true, StartStep::Retry},
        // A silent instance is never replaced: that would make a second one.
        {Contact::Silent, show, false, StartStep::Exit},
        {Contact::Silent, clip, false, StartStep::Exit},
        {Contact::Silent, clip, true, StartStep::Exit},
        {Contact::Failed, show, false, StartStep::Exit},
        // Another user's listener is neither talked to nor replaced, even for a clipboard request.
        {Contact::Stranger, show, false, StartStep::Exit},
        {Contact::Stranger, clip, false, StartStep::Exit},
        {Contact::Stranger, clip, true, StartStep::Exit},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(platform::encodeRequest(c.request) + " contact " + std::to_string(int(c.contact)) +
                     (c.spawned ? " spawned" : ""));
        EXPECT_EQ(platform::decideStart(c.contact, c.request, c.spawned), c.step);
    }
}

} // namespace
