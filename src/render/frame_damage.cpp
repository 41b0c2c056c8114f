// What changed since the picture the back buffer holds. Most frames differ
// from the one before in a few small places (a gem that spins, a popup that
// rises, the counter that counts): comparing this frame's list of what it
// draws with the last one's finds them, item by item, and only their boxes
// are drawn again. What else decides the whole picture (the window, its
// context, its pictures) draws it whole when it changes.
//
// The back buffer holds the picture of the last frame or of an older one,
// as the window system tells (its age): the boxes of every frame since that
// one are drawn again. Where the window system does not tell, a software
// renderer checks the picture it kept (reading back is cheap there) and any
// other draws every frame whole.
#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "game/game.h"
#include "platform/platform.h"
#include "render/render_local.h"

bool frameCacheUsed = true;
int lastFrameDrawing = WholeFrame;

namespace {

// Past this share of the picture a whole frame is cheaper than its boxes.
constexpr float MostBoxedShare = 0.5f;
// The oldest back buffer drawn over: older ones are drawn whole.
constexpr int OldestAge = 4;

// What changed in one frame over the one before: its boxes, or WholeFrame.
struct Change {
    int count;
    Box boxes[MostDamageBoxes];
};

struct Damage {
    FrameList last;  // the list of the last frame drawn with the cache
    bool lastValid;
    Change changes[OldestAge];  // this frame's first, then the frames before it
    int changesKept;  // of the frames before this one
    int age;  // of the back buffer the frame is drawn over
    Change shown;  // what the frame drawn changes on the window
    bool presentedSinceDrawn;  // the last frame drawn was presented
};
Damage damage = {};
Box clip;
bool clipped = false;

bool isEmpty(const Box& b) { return b.w <= 0 || b.h <= 0; }

Box unite(const Box& a, const Box& b) {
    if (isEmpty(a)) return b;
    if (isEmpty(b)) return a;
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int x1 = std::max(a.x + a.w, b.x + b.w), y1 = std::max(a.y + a.h, b.y + b.h);
    return Box{x0, y0, x1 - x0, y1 - y0};
}

// Whether two boxes overlap or touch.
bool touching(const Box& a, const Box& b) {
    return a.x <= b.x + b.w && b.x <= a.x + a.w && a.y <= b.y + b.h && b.y <= a.y + a.h;
}

// Joins boxes that overlap or touch until none do; returns how many are left.
int joinBoxes(Box* boxes, int count) {
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j)
            if (touching(boxes[i], boxes[j])) {
                boxes[i] = unite(boxes[i], boxes[j]);
                boxes[j] = boxes[--count];
                j = i;  // the grown box may touch one already passed
            }
    return count;
}

long areaOf(const Box& b) { return isEmpty(b) ? 0 : static_cast<long>(b.w) * b.h; }

// Makes room for one more box: joins the two boxes whose union adds the
// fewest pixels (then whatever the union touches); returns how many are left.
int joinCheapestPair(Box* boxes, int count) {
    int first = 0, second = 1;
    long least = -1;
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j) {
            const long added = areaOf(unite(boxes[i], boxes[j])) - areaOf(boxes[i]) - areaOf(boxes[j]);
            if (least < 0 || added < least) least = added, first = i, second = j;
        }
    boxes[first] = unite(boxes[first], boxes[second]);
    boxes[second] = boxes[--count];
    return joinBoxes(boxes, count);
}

// Adds a box to a change, joining boxes to make room.
void addBox(Change* change, const Box& box) {
    if (isEmpty(box)) return;
    if (change->count == MostDamageBoxes) change->count = joinBoxes(change->boxes, change->count);
    if (change->count == MostDamageBoxes) change->count = joinCheapestPair(change->boxes, change->count);
    change->boxes[change->count++] = box;
}

// Joins what touches; WholeFrame when the boxes cover too much of the picture.
int settle(Change* change, const FrameList& list) {
    change->count = joinBoxes(change->boxes, change->count);
    long area = 0;
    for (int i = 0; i < change->count; ++i) area += areaOf(change->boxes[i]);
    const int32_t* v = list.setting.viewport;
    if (area > MostBoxedShare * v[2] * v[3]) change->count = WholeFrame;
    return change->count;
}

// Whether the ids rise through the list, each thing once.
bool idsRise(const FrameList& list) {
    for (int i = 1; i < list.count; ++i)
        if (list.items[i].id <= list.items[i - 1].id) return false;
    return true;
}

// The boxes of the items that differ between two lists: an item that came,
// went or changed in any way, at both its places.
int compareLists(const FrameList& was, const FrameList& now, Change* change) {
    change->count = 0;
    if (std::memcmp(&was.setting, &now.setting, sizeof now.setting) != 0 || !idsRise(now) || !idsRise(was) ||
        now.count >= MostDrawItems || was.count >= MostDrawItems)
        return change->count = WholeFrame;
    int i = 0, j = 0;
    while (i < was.count || j < now.count) {
        const DrawItem* a = i < was.count ? &was.items[i] : nullptr;
        const DrawItem* b = j < now.count ? &now.items[j] : nullptr;
        if (a && b && a->id == b->id) {
            if (std::memcmp(a, b, sizeof *a) != 0) addBox(change, unite(a->box, b->box));
            ++i, ++j;
        } else if (a && (!b || a->id < b->id)) {
            addBox(change, a->box);  // gone
            ++i;
        } else {
            addBox(change, b->box);  // come
            ++j;
        }
    }
    return settle(change, now);
}

// What the back buffer holds, for the frame about to be drawn: a frame drawn
// and not presented is still there.
int backBufferAgeNow() { return damage.presentedSinceDrawn ? backBufferAge() : 1; }

// The boxes to draw over a back buffer of this age, from the changes of the
// frames since the one it holds.
int boxesOverAge(int age, const FrameList& next, Box boxes[MostDamageBoxes]) {
    if (age < 1 || age > damage.changesKept + 1) return WholeFrame;
    Change all = {};
    for (int k = 0; k < age; ++k) {
        const Change& change = damage.changes[k];
        if (change.count == WholeFrame) return WholeFrame;
        for (int i = 0; i < change.count; ++i) addBox(&all, change.boxes[i]);
    }
    if (settle(&all, next) == WholeFrame) return WholeFrame;
    std::copy(all.boxes, all.boxes + all.count, boxes);
    return all.count;
}

}  // namespace

int findDamage(const FrameList& next, Box boxes[MostDamageBoxes]) {
    Change& own = damage.changes[0];
    damage.age = backBufferAgeNow();
    if (!frameCacheUsed || !damage.lastValid) {
        own.count = WholeFrame;
        return WholeFrame;
    }
    compareLists(damage.last, next, &own);
    if (damage.age != BufferAgeUnknown) {
        forgetKeptPicture();
        return boxesOverAge(damage.age, next, boxes);
    }
    // No age: only a software renderer reads back what the back buffer shows.
    if (own.count == WholeFrame || !softwareRenderer() || !keptPictureFits() || !keptPictureShows())
        return WholeFrame;
    std::copy(own.boxes, own.boxes + own.count, boxes);
    return own.count;
}

void frameDrawn(const FrameList& drawn, const Box* boxes, int count) {
    lastFrameDrawing = count;
    // Without the cache what is known of the back buffer stays as it was
    // (a test draws the same frame whole over it, to compare).
    if (!frameCacheUsed) return;
    damage.presentedSinceDrawn = false;
    damage.shown = damage.changes[0];
    if (damage.age == BufferAgeUnknown && softwareRenderer()) {
        const int32_t* v = drawn.setting.viewport;
        const Box picture = {v[0], v[1], v[2], v[3]};
        if (count == WholeFrame)
            keepPicture(&picture, 1);
        else
            keepPicture(boxes, count);
    }
    // This frame's change goes down the list of the frames before the next.
    std::copy_backward(damage.changes, damage.changes + OldestAge - 1, damage.changes + OldestAge);
    damage.changesKept = std::min(damage.changesKept + 1, OldestAge - 1);
    std::memcpy(&damage.last, &drawn, sizeof drawn);
    damage.lastValid = true;
}

void presentScene() {
    // The window shows the last frame presented: only what changed over it is shown again.
    if (!frameCacheUsed || damage.shown.count == WholeFrame)
        presentFrame(nullptr, -1);
    else
        presentFrame(damage.shown.boxes, damage.shown.count);
    damage.presentedSinceDrawn = true;
}

void clipFrameTo(const Box* box) {
    clipped = box != nullptr;
    if (clipped) clip = *box;
    scissorToFrameClip();
}

bool scissorWithin(const int box[4]) {
    const Box b = clipped ? meetBoxes(Box{box[0], box[1], box[2], box[3]}, clip) : Box{box[0], box[1], box[2], box[3]};
    glScissor(b.x, b.y, std::max(b.w, 0), std::max(b.h, 0));
    glEnable(GL_SCISSOR_TEST);
    return !isEmpty(b);
}

void scissorToFrameClip() {
    if (!clipped) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glScissor(clip.x, clip.y, clip.w, clip.h);
    glEnable(GL_SCISSOR_TEST);
}

bool itemInFrameClip(const DrawItem& item) { return !clipped || !isEmpty(meetBoxes(item.box, clip)); }
