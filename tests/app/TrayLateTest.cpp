// A notification area that starts after quorvel (common at log-in: the panel comes up after the programs
// that start with the session): the icon docks once it appears. The test is the late notification area: it
// takes the X tray selection on quorvel's private Xvfb, announces itself as trays do, and waits for the
// icon's dock request.

#include <gtest/gtest.h>
#include <poll.h>
#include <xcb/xcb.h>

#include <QDeadlineTimer>
#include <cstdlib>
#include <cstring>

#include "QuorvelProcessFixture.h"

namespace quorvel::test {
namespace {

constexpr int kWaitMs = 20000;
constexpr uint32_t kRequestDock = 0;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// A minimal system tray: owns the selection and reports the first dock request it gets.
class LateTray {
public:
    explicit LateTray(const std::string& display) {
        int screenNumber = 0;
        c_ = xcb_connect(display.c_str(), &screenNumber);
        if (xcb_connection_has_error(c_)) return;
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c_));
        for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
        root_ = screens.data->root;
        owner_ = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, owner_, root_, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        selection_ = Atom(c_, ("_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber)).c_str());
        opcode_ = Atom(c_, "_NET_SYSTEM_TRAY_OPCODE");
        manager_ = Atom(c_, "MANAGER");
    }
    ~LateTray() {
        if (c_) xcb_disconnect(c_);
    }
    bool Connected() const { return c_ && !xcb_connection_has_error(c_); }

    // Takes the selection and tells the clients on the root window, as a starting tray does.
    void Appear() {
        xcb_set_selection_owner(c_, owner_, selection_, XCB_CURRENT_TIME);
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = root_;
        event.type = manager_;
        event.data.data32[0] = XCB_CURRENT_TIME;
        event.data.data32[1] = selection_;
        event.data.data32[2] = owner_;
        xcb_send_event(c_, 0, root_, XCB_EVENT_MASK_STRUCTURE_NOTIFY, reinterpret_cast<const char*>(&event));
        xcb_flush(c_);
    }

    // Until an icon asks to be docked; false on time-out.
    bool WaitForDockRequest(int timeoutMs) {
        const QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
                const bool dock = (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                                  reinterpret_cast<xcb_client_message_event_t*>(event)->type == opcode_ &&
                                  reinterpret_cast<xcb_client_message_event_t*>(event)->data.data32[1] ==
                                      kRequestDock;
                std::free(event);
                if (dock) return true;
            }
            pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
        }
        return false;
    }

private:
    xcb_connection_t* c_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_window_t owner_ = 0;
    xcb_atom_t selection_ = XCB_ATOM_NONE;
    xcb_atom_t opcode_ = XCB_ATOM_NONE;
    xcb_atom_t manager_ = XCB_ATOM_NONE;
};

TEST_F(QuorvelWindowTest, TheTrayIconDocksInANotificationAreaThatStartsLater) {
    auto gui = Start(x_->Display());
    ASSERT_EQ(WaitForView("device-list"), "device-list tab 1 model 102") << GuiErr();
    LateTray tray(x_->Display());
    ASSERT_TRUE(tray.Connected());
    tray.Appear();
    EXPECT_TRUE(tray.WaitForDockRequest(kWaitMs)) << GuiErr();
    gui->Signal(SIGTERM);
    EXPECT_EQ(gui->Wait(), 0) << GuiErr();
}

}  // namespace
}  // namespace quorvel::test
