// The entries inflated ahead on a second thread: handed on in their order and whole, skipped ones
// dropped, one asked for again read directly, a damaged one failing its own write only, what
// waits bounded, a sink that throws giving its block back, no thread falling back to direct
// reads; and a stress loop of all of it (scripts/sanitize.sh runs it under the sanitizers).
#include "install/entry_contents.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <system_error>

#include "data/file_list.h"
#include "doubles/memory_resources.h"
#include "platform/error.h"
#include "support/zlib_frame.h"

namespace setup {
namespace {

class Prefetch : public ::testing::Test {
protected:
    Prefetch() {
        for (int i = 0; i < 5; ++i) {
            contents_of.push_back(std::string(100000 + i * 70000, static_cast<char>('a' + i)));
            resources.SetResource(PayloadResourceType(i), PayloadResourceName(i),
                                  testing::Frame(contents_of.back()));
            entries.emplace_back(PayloadResourceType(i), PayloadResourceName(i));
        }
    }

    std::string Take(EntryContents& contents, int i, bool* whole = nullptr) {
        std::string out;
        const bool all =
            contents.Unpack(PayloadResourceType(i), PayloadResourceName(i), [&](Bytes chunk) {
                out.append(chunk.begin(), chunk.end());
                return true;
            });
        if (whole) *whole = all;
        return out;
    }

    MemoryResources resources;
    std::vector<std::string> contents_of;
    std::vector<PrefetchedContents::Entry> entries;
};

TEST_F(Prefetch, EntriesComeWholeInTurnSkippedOnesAreDroppedAndRepeatsReadDirectly) {
    PrefetchedContents prefetched(resources, entries, 64 * 1024);  // less than one entry ahead
    EXPECT_EQ(Take(prefetched, 0), contents_of[0]);
    EXPECT_EQ(Take(prefetched, 2), contents_of[2]);  // entry 1 was skipped (a kept file)
    EXPECT_EQ(Take(prefetched, 2), contents_of[2]);  // the guard's second write
    EXPECT_EQ(Take(prefetched, 0), contents_of[0]);
    EXPECT_EQ(Take(prefetched, 4), contents_of[4]);
}

TEST_F(Prefetch, ADamagedEntryFailsItsOwnTurnAndTheNextOnesFollow) {
    std::vector<std::uint8_t> damaged = testing::Frame(contents_of[1]);
    damaged[damaged.size() / 2] ^= 0xFF;
    resources.SetResource(PayloadResourceType(1), PayloadResourceName(1), damaged);
    PrefetchedContents prefetched(resources, entries);
    EXPECT_EQ(Take(prefetched, 0), contents_of[0]);
    EXPECT_THROW(Take(prefetched, 1), RuntimeError);
    EXPECT_EQ(Take(prefetched, 2), contents_of[2]);
}

TEST_F(Prefetch, AStoppedSinkLeavesTheRestOfItsEntryBehind) {
    PrefetchedContents prefetched(resources, entries);
    EXPECT_FALSE(prefetched.Unpack(PayloadResourceType(1), PayloadResourceName(1),
                                   [](Bytes) { return false; }));
    EXPECT_EQ(Take(prefetched, 3), contents_of[3]);
}

// Destroyed while its thread waits for room, and before anything was taken: it must not hang.
TEST_F(Prefetch, EndsCleanlyWhateverIsLeftAhead) {
    { PrefetchedContents prefetched(resources, entries, 1); }
    PrefetchedContents prefetched(resources, entries);
    EXPECT_EQ(Take(prefetched, 0), contents_of[0]);
}

// With a bound of one block, a block lost by a throwing sink would leave the thread waiting for
// ever and the next entry with it.
TEST_F(Prefetch, ASinkThatThrowsGivesItsBlockBack) {
    PrefetchedContents prefetched(resources, entries, 1);
    for (int i : {0, 1}) {
        EXPECT_THROW(prefetched.Unpack(PayloadResourceType(i), PayloadResourceName(i),
                                       [](Bytes) -> bool { throw std::runtime_error("disk"); }),
                     std::runtime_error);
    }
    EXPECT_EQ(Take(prefetched, 2), contents_of[2]);
    EXPECT_EQ(Take(prefetched, 4), contents_of[4]);
}

TEST_F(Prefetch, AThreadThatCannotStartLeavesEveryEntryToBeReadDirectly) {
    auto refuse = [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    PrefetchedContents prefetched(resources, entries, 1, refuse);
    EXPECT_FALSE(prefetched.ReadsAhead());
    EXPECT_EQ(Take(prefetched, 1), contents_of[1]);
    EXPECT_EQ(Take(prefetched, 0), contents_of[0]);
    EXPECT_EQ(Take(prefetched, 4), contents_of[4]);
}

// Read-aheads made and ended over and over, each left another way: read to the end, entries
// skipped, a sink stopped or throwing, destroyed part way. A few seconds at most, so it runs with
// the other units; under ASan and TSan it is the check of the thread's life and its blocks.
// (<chrono> does not compile with the GBK execution character set: rounds bound it instead.)
TEST_F(Prefetch, StressOfStartsAndEndsInEveryWay) {
    constexpr int kRounds = 150;
    for (int rounds = 0; rounds < kRounds; ++rounds) {
        PrefetchedContents prefetched(resources, entries, (rounds % 3) * (256u << 10));
        const int way = rounds % 5;
        for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
            if (way == 1 && i % 2 == 1) continue;  // skipped
            if (way == 2 && i == 2) {
                EXPECT_FALSE(prefetched.Unpack(PayloadResourceType(i), PayloadResourceName(i),
                                               [](Bytes) { return false; }));
                continue;
            }
            if (way == 3 && i == 1) {
                EXPECT_THROW(prefetched.Unpack(PayloadResourceType(i), PayloadResourceName(i),
                                               [](Bytes) -> bool { throw std::bad_alloc(); }),
                             std::bad_alloc);
                continue;
            }
            if (way == 4 && i == rounds % 4) break;  // ended part way
            ASSERT_EQ(Take(prefetched, i), contents_of[i]) << "round " << rounds;
        }
    }
}

}  // namespace
}  // namespace setup
