// Callers for the game's one-game socket, for the end-to-end checks: connects
// COUNT callers to PATH, each saying TEXT (may be empty, or half a line),
// and keeps those the game has not taken yet trying until SECONDS have
// passed; then prints how many got in and how many the game closed.
// Usage: socket_callers PATH COUNT SECONDS [TEXT]
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PATH COUNT SECONDS [TEXT]\n", argv[0]);
        return 2;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, argv[1], sizeof address.sun_path - 1);
    const int count = std::atoi(argv[2]);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(int(std::atof(argv[3]) * 1000));
    const std::string text = argc > 4 ? argv[4] : "";
    // As many descriptors as the callers need, whatever the shell's limit.
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);

    std::vector<int> in;  // connected, still open
    int waiting = count, connected = 0, closed = 0;
    while (std::chrono::steady_clock::now() < end) {
        while (waiting > 0) {
            const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            if (fd < 0)
                break;
            if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
                close(fd);  // the queue is full (or no one listens): again in a moment
                break;
            }
            if (!text.empty())
                (void)!send(fd, text.data(), text.size(), MSG_NOSIGNAL);
            in.push_back(fd);
            --waiting;
            ++connected;
        }
        std::vector<pollfd> watch;
        for (int fd : in)
            watch.push_back({fd, POLLIN, 0});
        poll(watch.data(), watch.size(), 10);
        std::vector<int> open;
        for (const pollfd& w : watch) {
            char byte;
            const ssize_t got = w.revents ? recv(w.fd, &byte, 1, MSG_DONTWAIT) : -1;
            if (got == 0 || (got < 0 && w.revents && errno != EAGAIN)) {
                close(w.fd);
                ++closed;
            } else {
                open.push_back(w.fd);
            }
        }
        in.swap(open);
        if (waiting == 0 && in.empty())
            break;
        if (waiting > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::printf("connected %d closed %d\n", connected, closed);
    for (int fd : in)
        close(fd);
    return 0;
}
