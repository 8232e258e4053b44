// The entries inflated ahead on a second thread: handed on in their order and whole, skipped ones
// dropped, one asked for again read directly, a damaged one failing its own write only, and what
// waits bounded.
#include "install/entry_contents.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace setup
