// A save killed at any moment must leave zorlo.list holding the old list or
// the new one, whole: the settings are replaced atomically, through the same
// file adapter the console saves with.
#include "ConsoleSession.hpp"

#include "platform/posix/PosixFileSystem.hpp"
#include "store/SettingsFile.hpp"

#include <chrono>
#include <thread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace zorlo::testing {
namespace {

constexpr std::size_t kMacros = 20000;
constexpr int kKills = 200;

BinList manyMacros(TextView version) {
    BinList list;
    for (std::size_t i = 0; i < kMacros; ++i) {
        const Text n = toText(static_cast<long long>(100000 + i));
        list.append(Bin{u"m" + n, u"C:\\Programs\\tool" + n + u"\\" + Text(version) + u".exe"});
    }
    return list;
}

TEST(CrashSafety, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewList) {
    ScratchFolder folder;
    const fs::path file = folder / "zorlo.list";
    PosixFileSystem files;
    const BinList oldList = manyMacros(u"old");
    const BinList newList = manyMacros(u"new");
    const std::string newBytes = encodeFileText(formatSettings(newList));

    using std::chrono::microseconds;
    const auto micros = [](auto d) { return std::chrono::duration_cast<microseconds>(d).count(); };
    const auto began = std::chrono::steady_clock::now();
    const std::string oldBytes = encodeFileText(formatSettings(oldList));
    const auto formattedAt = std::chrono::steady_clock::now();
    files.replaceFile(file, oldBytes);
    const auto oneWrite = std::chrono::steady_clock::now() - formattedAt;
    const auto oneSave = std::chrono::steady_clock::now() - began;

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);
    // Half the kills come at any moment of about three saves; the other half
    // right after the child has said that it starts writing the file, where a
    // kill does the most harm and which is only a small part of a save.
    std::uniform_int_distribution<long long> anyMoment(0, 3 * micros(oneSave));
    std::uniform_int_distribution<long long> duringWrite(0, 2 * micros(oneWrite));

    int killedMidWrite = 0;
    for (int kill = 1; kill <= kKills; ++kill) {
        int writing[2];
        ASSERT_EQ(pipe(writing), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0) << "fork failed";
        if (child == 0) {
            // The child saves the other list, then this one, and so on, until
            // killed, each time as the console's save does.
            close(writing[0]);
            for (bool next = true;; next = !next) {
                const std::string bytes = encodeFileText(formatSettings(next ? newList : oldList));
                (void)!write(writing[1], "w", 1);
                files.replaceFile(file, bytes);
            }
        }
        close(writing[1]);
        // Nothing may stop the test before the kill: the child would save forever.
        bool heard = true;
        if (kill % 2 == 0) {
            char signal = 0;
            heard = read(writing[0], &signal, 1) == 1;
            std::this_thread::sleep_for(microseconds(duringWrite(random)));
        } else {
            std::this_thread::sleep_for(microseconds(anyMoment(random)));
        }
        ::kill(child, SIGKILL);
        int status = 0;
        const pid_t ended = waitpid(child, &status, 0);
        close(writing[0]);
        ASSERT_TRUE(heard) << "the child never began to write";
        ASSERT_EQ(ended, child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the saving child ended by itself";

        const std::string bytes = readBytes(file);
        ASSERT_TRUE(bytes == oldBytes || bytes == newBytes)
            << "after kill " << kill << " zorlo.list holds " << bytes.size()
            << " bytes, neither list (old " << oldBytes.size() << ", new " << newBytes.size()
            << ")";
        // What a killed save left behind shows that the kill came mid-write.
        bool leftovers = false;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            if (entry.path().filename() != "zorlo.list") {
                leftovers = fs::remove(entry.path());
            }
        }
        killedMidWrite += leftovers ? 1 : 0;
    }
    // Without kills inside the file writing the test would prove nothing.
    EXPECT_GT(killedMidWrite, 0);
    RecordProperty("killsDuringTheFileWrite", killedMidWrite);
}

} // namespace
} // namespace zorlo::testing
