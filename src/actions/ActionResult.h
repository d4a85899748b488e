#pragma once
// What a page does with a user's change, without the page: the command-line tool calls these now and the
// GUI's pages will call them later, so both store the same rows and queue the same device tasks.
//
// One pattern everywhere: an action checks its input, stores the change in the database (and sets the
// page fields it owns: profile, key slot, lighting mode), and returns the device task requests to queue, in
// order, each carrying what its task needs (profile, key slot, lighting mode, macro upload) as it was when
// the action ran. It never queues them itself: the caller queues them on the worker (QueueActionTasks, or
// RunActionTasks to wait for each) and shows the saving indicator.
// A refused action (ok false) has changed nothing and names no task. The one exception is a database that
// fails part-way through a write: ok is false, no task is named, and the message says which key failed.

#include <string>
#include <utility>
#include <vector>

#include "device/DeviceTaskRequest.h"
#include "store/AssignmentText.h"

namespace quorvel {

class DeviceDatabase;
class PageState;

struct ActionResult {
    bool ok = false;
    // Refused: why, for the user. Accepted: empty, or a note on an adjusted value ("35 -> 20 ...").
    std::string message;
    // Device task requests to queue, in order; empty when nothing goes to the mouse.
    std::vector<DeviceTaskRequest> tasks;
    // The settings rows written (key, text), in the order they were stored.
    std::vector<std::pair<std::string, std::string>> stored;

    static ActionResult Refused(std::string why) {
        ActionResult r;
        r.message = std::move(why);
        return r;
    }
};

// What every action works on. The actions read the database and the page state at the moment they run;
// they keep nothing between calls.
struct ActionContext {
    PageState& core;  // the device core, as the pages see it
    // Language text by number (section "LAN"); empty: the current language's file.
    TextLookup text;
    // Language of the texts (re-localising macro and profile names); 0: the current language.
    int lcid = 0;

    ActionContext(DeviceDatabase& database, PageState& device, TextLookup lookup = {}, int language = 0)
        : core(device), text(std::move(lookup)), lcid(language), db_(database) {}

    std::string Text(int id) const;
    int Language() const;
    // The profile the pages edit: the current profile.
    int Profile() const;

private:
    // Only the actions reach the database (ActionDatabase.h): the front ends go through them, so what
    // they store always follows the actions' rules and queues the same tasks.
    friend struct ActionDatabase;
    DeviceDatabase& db_;
};

}  // namespace quorvel
