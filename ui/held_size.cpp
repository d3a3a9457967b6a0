#include "ui/held_size.h"

#include <algorithm>
#include <iterator>

namespace ui {

bool HeldSize::Side::lateAnswer(int size) const {
    return held && size != asked && lateAnswers < kMaxLateAnswers &&
           std::find(earlier, earlier + earlierCount, size) != earlier + earlierCount;
}

void HeldSize::Side::ask(int size) {
    // The sizes asked for stay known after the side is let go: the window manager may answer one
    // of them after it put back the size of before, which the layout raises again.
    if (asked != size && asked > 0) {
        if (earlierCount == static_cast<int>(std::size(earlier))) {
            std::move(earlier + 1, earlier + earlierCount, earlier);
            --earlierCount;
        }
        earlier[earlierCount++] = asked;
    }
    asked = size;
    held = true;
}

bool HeldSize::Side::ours(int size, int frame, int minimum) const {
    return size == asked || lateAnswer(size) || size + frame < minimum;
}

bool HeldSize::Side::due(int size, int frame, int minimum) const {
    return held && size != minimum - frame && ours(size, frame, minimum);
}

int HeldSize::holdSide(Side &side, int now, int frame, int minimum, std::optional<int> raised) {
    if (side.held) {
        if (side.lateAnswer(now))
            ++side.lateAnswers;
        else if (!side.ours(now, frame, minimum))
            side.held = false;
    }
    if (!raised && !side.held)
        return now;
    const int size = (raised ? *raised : minimum) - frame;
    side.ask(size);
    return size;
}

std::optional<PixelSize> HeldSize::hold(PixelSize client, PixelSize frame, PixelSize minimum,
                                        std::optional<int> raisedWidth, std::optional<int> raisedHeight) {
    m_minimum = minimum;
    const PixelSize next{holdSide(m_width, client.width, frame.width, minimum.width, raisedWidth),
                         holdSide(m_height, client.height, frame.height, minimum.height, raisedHeight)};
    if (next == client)
        return std::nullopt;
    return next;
}

bool HeldSize::stale(PixelSize client, PixelSize frame) const {
    return m_width.due(client.width, frame.width, m_minimum.width) ||
           m_height.due(client.height, frame.height, m_minimum.height);
}

} // namespace ui
