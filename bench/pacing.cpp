// Frame pacing of one window, seen from the X server: every drawing into the
// window raises a Damage report stamped with the server's clock. Reports
// closer together than a gap form one frame; the intervals between the first
// reports of consecutive frames are the frame intervals.
//
// Usage: pacing [--seconds S] [--wait S] [--gap MS] [--raw] <window name | id>
// Prints fps, median, p95, p99, max and how many intervals exceeded 75 and
// 150 ms, on one line of name=value pairs:
//   frames=301 fps=20.07 median=50 p95=51 p99=52 max=55 over75=0 over150=0

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Free {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, Free>;

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    Reply<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return r ? r->atom : XCB_ATOM_NONE;
}

std::string windowName(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netName, xcb_atom_t utf8)
{
    for (auto [property, type] : {std::pair{netName, utf8}, std::pair{xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_STRING)}}) {
        Reply<xcb_get_property_reply_t> r(
            xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 256), nullptr));
        if (r && r->format == 8 && xcb_get_property_value_length(r.get()) > 0)
            return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                               std::size_t(xcb_get_property_value_length(r.get())));
    }
    return {};
}

bool viewable(xcb_connection_t* c, xcb_window_t w)
{
    Reply<xcb_get_window_attributes_reply_t> a(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

// The first viewable window under root whose name is exactly name.
xcb_window_t findWindow(xcb_connection_t* c, xcb_window_t root, const std::string& name)
{
    static const xcb_atom_t netName = internAtom(c, "_NET_WM_NAME");
    static const xcb_atom_t utf8 = internAtom(c, "UTF8_STRING");
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree)
        return XCB_WINDOW_NONE;
    const xcb_window_t* kids = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        if (windowName(c, kids[i], netName, utf8) == name && viewable(c, kids[i]))
            return kids[i];
        if (xcb_window_t found = findWindow(c, kids[i], name))
            return found;
    }
    return XCB_WINDOW_NONE;
}

// Nearest rank on sorted values.
std::uint32_t percentile(const std::vector<std::uint32_t>& sorted, double p)
{
    const std::size_t rank = std::size_t(std::ceil(p / 100.0 * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

int usage()
{
    std::fprintf(stderr, "usage: pacing [--seconds S] [--wait S] [--gap MS] [--raw] <window name | id>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    double seconds = 15, waitSeconds = 10;
    std::uint32_t gapMs = 10;  // a frame's rectangles reach the server within a few ms
    bool raw = false;
    std::string target;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--seconds" && i + 1 < argc)
            seconds = std::atof(argv[++i]);
        else if (a == "--wait" && i + 1 < argc)
            waitSeconds = std::atof(argv[++i]);
        else if (a == "--gap" && i + 1 < argc)
            gapMs = std::uint32_t(std::atoi(argv[++i]));
        else if (a == "--raw")
            raw = true;
        else if (target.empty())
            target = a;
        else
            return usage();
    }
    if (target.empty() || seconds <= 0)
        return usage();

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "pacing: cannot open the display\n");
        return 1;
    }
    Reply<xcb_damage_query_version_reply_t> version(xcb_damage_query_version_reply(
        c, xcb_damage_query_version(c, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), nullptr));
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_damage_id);
    if (!version || !ext || !ext->present) {
        std::fprintf(stderr, "pacing: the X server has no Damage extension\n");
        return 1;
    }

    xcb_window_t window = XCB_WINDOW_NONE;
    char* end = nullptr;
    const unsigned long id = std::strtoul(target.c_str(), &end, 0);
    if (end && *end == '\0' && id != 0) {
        window = xcb_window_t(id);
    } else {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(waitSeconds);
        while (!(window = findWindow(c, root, target)) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (window == XCB_WINDOW_NONE) {
        std::fprintf(stderr, "pacing: no viewable window named \"%s\"\n", target.c_str());
        return 1;
    }

    const xcb_damage_damage_t damage = xcb_generate_id(c);
    xcb_void_cookie_t created =
        xcb_damage_create_checked(c, damage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    if (Reply<xcb_generic_error_t> error(xcb_request_check(c, created)); error) {
        std::fprintf(stderr, "pacing: cannot watch window 0x%x (X error %d)\n", window, error->error_code);
        return 1;
    }

    // Server timestamps of the first report of every frame.
    std::vector<std::uint32_t> frames;
    std::uint32_t last = 0;
    bool any = false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    const int fd = xcb_get_file_descriptor(c);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, int(left.count()));
        while (Reply<xcb_generic_event_t> e{xcb_poll_for_event(c)}) {
            if ((e->response_type & 0x7f) != ext->first_event + XCB_DAMAGE_NOTIFY)
                continue;
            const std::uint32_t t = reinterpret_cast<const xcb_damage_notify_event_t*>(e.get())->timestamp;
            // Unsigned differences survive the server clock's wrap.
            if (!any || std::uint32_t(t - last) > gapMs)
                frames.push_back(t);
            last = t;
            any = true;
        }
        if (xcb_connection_has_error(c)) {
            std::fprintf(stderr, "pacing: the display connection broke\n");
            return 1;
        }
    }
    xcb_damage_destroy(c, damage);
    xcb_disconnect(c);

    if (frames.size() < 2) {
        std::fprintf(stderr, "pacing: fewer than two frames in %.1f s\n", seconds);
        return 1;
    }
    std::vector<std::uint32_t> intervals;
    for (std::size_t i = 1; i < frames.size(); ++i)
        intervals.push_back(frames[i] - frames[i - 1]);
    if (raw)
        for (std::uint32_t v : intervals)
            std::printf("%u\n", v);
    const double span = double(std::uint32_t(frames.back() - frames.front()));
    std::vector<std::uint32_t> sorted = intervals;
    std::sort(sorted.begin(), sorted.end());
    const auto over = [&](std::uint32_t ms) { return std::count_if(sorted.begin(), sorted.end(), [&](std::uint32_t v) { return v > ms; }); };
    std::printf("frames=%zu fps=%.1f median=%u p95=%u p99=%u max=%u over75=%td over150=%td\n", frames.size(),
                1000.0 * double(intervals.size()) / span, percentile(sorted, 50), percentile(sorted, 95),
                percentile(sorted, 99), sorted.back(), over(75), over(150));
    return 0;
}
