// The decode-ahead queue: jobs run one at a time in the order posted, results wait
// to be taken, and a new generation drops every older job and result.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "image/DecodeQueue.h"
#include "tests/image/JpegSamples.h"
#include "tests/support/AgedFile.h"
#include "tests/support/TempTree.h"

namespace {

TJpegJob Job(const std::string& name) { return {name, {}, TJPEGOptions{}, gdi::TPixelFormat{}}; }

// A result that says which job made it (in the identity's size), with some pixels.
std::optional<TPreparedJpeg> Made(const TJpegJob& job, TPixelReclaimer* recycle = nullptr) {
  TPreparedJpeg prepared;
  prepared.Identity.Size = static_cast<int64_t>(job.FileName.size());
  prepared.Picture.Bits = TPixelBlock::Recycled(64, recycle);
  return prepared;
}

// A result whose rows take ten bytes per letter of the job's name, in memory handed
// back when there is a block of that size; none when that is more than maxBytes.
std::optional<TPreparedJpeg> SizedByName(const TJpegJob& job, TPixelReclaimer* recycle,
                                         size_t maxBytes) {
  const size_t bytes = 10 * job.FileName.size();
  if (bytes > maxBytes) return std::nullopt;
  TPreparedJpeg prepared;
  prepared.Picture.Bits = TPixelBlock::Recycled(bytes, recycle);
  return prepared;
}

class DecodeQueueByHand : public testing::Test {
 protected:
  TDecodeQueue FQueue{[this](const TJpegJob& job, TPixelReclaimer* recycle, size_t) {
    FRan.push_back(job.FileName);
    if (FDuringRun) FDuringRun();
    return job.FileName.rfind("bad", 0) == 0 ? std::nullopt : Made(job, recycle);
  }};
  std::vector<std::string> FRan;
  std::function<void()> FDuringRun;
};

TEST_F(DecodeQueueByHand, RunsJobsInTheOrderPosted) {
  FQueue.Post(Job("a"));
  FQueue.Post(Job("bb"));
  EXPECT_TRUE(FQueue.RunOne());
  EXPECT_TRUE(FQueue.RunOne());
  EXPECT_FALSE(FQueue.RunOne());
  EXPECT_EQ(FRan, (std::vector<std::string>{"a", "bb"}));
}

TEST_F(DecodeQueueByHand, AResultIsTakenOnce) {
  FQueue.Post(Job("abc"));
  FQueue.RunOne();
  EXPECT_EQ(FQueue.Count(), 1u);
  const std::optional<TPreparedJpeg> taken = FQueue.Take(Job("abc"));
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->Identity.Size, 3);
  EXPECT_FALSE(FQueue.Take(Job("abc")));
  EXPECT_EQ(FQueue.Count(), 0u);
}

TEST_F(DecodeQueueByHand, AFailedJobGivesNothingToTake) {
  FQueue.Post(Job("bad"));
  FQueue.RunOne();
  EXPECT_FALSE(FQueue.Take(Job("bad")));
}

TEST_F(DecodeQueueByHand, TakingAJobNotYetStartedDropsIt) {
  FQueue.Post(Job("a"));
  FQueue.Post(Job("b"));
  EXPECT_FALSE(FQueue.Take(Job("b")));
  while (FQueue.RunOne()) {
  }
  EXPECT_EQ(FRan, (std::vector<std::string>{"a"}));
}

TEST_F(DecodeQueueByHand, UnknownJobsGiveNothing) {
  FQueue.Post(Job("a"));
  FQueue.RunOne();
  EXPECT_FALSE(FQueue.Take(Job("other")));
  EXPECT_TRUE(FQueue.Take(Job("a")));
}

TEST_F(DecodeQueueByHand, DiscardDropsQueuedJobsAndWaitingResults) {
  FQueue.Post(Job("a"));
  FQueue.RunOne();
  FQueue.Post(Job("b"));
  FQueue.Discard();
  EXPECT_EQ(FQueue.Count(), 0u);
  while (FQueue.RunOne()) {
  }
  EXPECT_EQ(FRan, (std::vector<std::string>{"a"}));
  EXPECT_FALSE(FQueue.Take(Job("a")));
}

TEST_F(DecodeQueueByHand, AResultOfAnOlderGenerationIsDroppedWhenItComesIn) {
  FQueue.Post(Job("a"));
  FDuringRun = [this] {
    FQueue.Discard();
    FQueue.Post(Job("a"));  // the same job again, for the new generation
  };
  FQueue.RunOne();
  FDuringRun = nullptr;
  EXPECT_EQ(FQueue.Count(), 1u);  // only the new job, still queued
  EXPECT_FALSE(FQueue.Take(Job("a")));
}

TEST_F(DecodeQueueByHand, RetargetingKeepsWhatIsStillWantedAndQueuesTheRest) {
  FQueue.Post(Job("a"));
  FQueue.Post(Job("b"));
  FQueue.RunOne();
  FQueue.Retarget({Job("b"), Job("c")});
  EXPECT_EQ(FQueue.Count(), 2u);
  while (FQueue.RunOne()) {
  }
  EXPECT_EQ(FRan, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_FALSE(FQueue.Take(Job("a")));
  EXPECT_TRUE(FQueue.Take(Job("b")));
  EXPECT_TRUE(FQueue.Take(Job("c")));
}

TEST_F(DecodeQueueByHand, AJobStillWantedWhileItRunsKeepsItsResult) {
  FQueue.Post(Job("a"));
  FDuringRun = [this] { FQueue.Retarget({Job("a"), Job("b")}); };
  FQueue.RunOne();
  FDuringRun = nullptr;
  EXPECT_TRUE(FQueue.Take(Job("a")));
  EXPECT_EQ(FQueue.Count(), 1u);  // "b", queued
}

TEST(DecodeQueueRoom, ResultsWaitingHoldNoMoreThanTheRoomAndOthersWaitForIt) {
  std::vector<std::string> ran;
  TDecodeQueue queue(
      [&](const TJpegJob& job, TPixelReclaimer* recycle, size_t maxBytes) {
        ran.push_back(job.FileName);
        return SizedByName(job, recycle, maxBytes);
      },
      100);
  queue.Retarget({Job("aaaaaa"), Job("bbbbbb")});
  queue.RunOne();
  queue.RunOne();  // 60 bytes held, 40 left: "bbbbbb" waits for room
  EXPECT_EQ(queue.Count(), 2u);
  EXPECT_TRUE(queue.Take(Job("aaaaaa")));
  // Not before the viewer, having let the picture go, says what it wants now.
  queue.RunOne();
  EXPECT_EQ(ran.size(), 2u);
  queue.Retarget({Job("bbbbbb")});
  queue.RunOne();
  EXPECT_TRUE(queue.Take(Job("bbbbbb")));
  EXPECT_EQ(ran, (std::vector<std::string>{"aaaaaa", "bbbbbb", "bbbbbb"}));
}

TEST(DecodeQueueRoom, AJobWantedFirstTakesTheRoomOfAResultWantedLater) {
  std::vector<std::string> ran;
  TDecodeQueue queue(
      [&](const TJpegJob& job, TPixelReclaimer* recycle, size_t maxBytes) {
        ran.push_back(job.FileName);
        return SizedByName(job, recycle, maxBytes);
      },
      100);
  queue.Retarget({Job("bbbbbb")});
  queue.RunOne();
  // The user turned round: "aaaaaa" comes first now, "bbbbbb" after it.
  queue.Retarget({Job("aaaaaa"), Job("bbbbbb")});
  queue.RunOne();  // no room beside "bbbbbb"
  queue.RunOne();  // "bbbbbb" let go, "aaaaaa" made
  EXPECT_EQ(queue.Count(), 2u);
  EXPECT_TRUE(queue.Take(Job("aaaaaa")));
  queue.Retarget({Job("bbbbbb")});
  queue.RunOne();
  EXPECT_TRUE(queue.Take(Job("bbbbbb")));
  EXPECT_EQ(ran, (std::vector<std::string>{"bbbbbb", "aaaaaa", "aaaaaa", "bbbbbb"}));
  // A job wanted after the result that fills the room leaves it alone.
  queue.Retarget({Job("cccccc"), Job("dddddd")});
  queue.RunOne();
  queue.RunOne();
  EXPECT_TRUE(queue.Take(Job("cccccc")));
}

TEST(DecodeQueueRoom, MemoryLetGoWhileAJobFindsNoRoomIsKeptForItsNextRun) {
  std::function<void()> duringRun;
  TDecodeQueue queue(
      [&](const TJpegJob& job, TPixelReclaimer* recycle, size_t maxBytes) {
        if (duringRun) std::exchange(duringRun, nullptr)();
        return SizedByName(job, recycle, maxBytes);
      },
      100);
  queue.Retarget({Job("pppppp")});
  queue.RunOne();
  std::optional<TPreparedJpeg> shown = queue.Take(Job("pppppp"));
  ASSERT_TRUE(shown);
  const uint8_t* memory = shown->Picture.Bits.Data();
  queue.Retarget({Job("aaaaaa"), Job("bbbbbb")});
  queue.RunOne();
  // While "bbbbbb" finds no room beside "aaaaaa", the viewer takes that one and lets
  // the one it showed go.
  duringRun = [&] { shown = queue.Take(Job("aaaaaa")); };
  queue.RunOne();
  ASSERT_TRUE(shown);
  EXPECT_TRUE(queue.KeepsMemoryHandedBack());
  queue.Retarget({Job("bbbbbb")});
  queue.RunOne();
  const std::optional<TPreparedJpeg> next = queue.Take(Job("bbbbbb"));
  ASSERT_TRUE(next);
  EXPECT_EQ(next->Picture.Bits.Data(), memory);
}

TEST_F(DecodeQueueByHand, MemoryLetGoServesTheNextJobOrIsFreedByTheWorker) {
  FQueue.Post(Job("a"));
  FQueue.RunOne();
  std::optional<TPreparedJpeg> taken = FQueue.Take(Job("a"));
  ASSERT_TRUE(taken);
  const uint8_t* memory = taken->Picture.Bits.Data();
  taken.reset();  // handed back, not freed here
  FQueue.Post(Job("b"));
  FQueue.RunOne();
  taken = FQueue.Take(Job("b"));
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->Picture.Bits.Data(), memory);
  taken.reset();
  FQueue.Discard();
  EXPECT_TRUE(FQueue.RunOne());  // no job: frees what came back
  EXPECT_FALSE(FQueue.RunOne());
  EXPECT_EQ(FRan, (std::vector<std::string>{"a", "b"}));
}

TEST(DecodeQueueThread, RunsPostedJobsAndTakeWaitsForTheJobRunning) {
  std::promise<void> started, release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<bool> signalled{false};
  TDecodeQueue queue([&](const TJpegJob& job, TPixelReclaimer*, size_t) {
    if (!signalled.exchange(true)) started.set_value();
    released.wait();
    return Made(job);
  });
  queue.StartThread();
  queue.Post(Job("abcd"));
  started.get_future().wait();
  std::thread releaser([&] { release.set_value(); });
  const std::optional<TPreparedJpeg> taken = queue.Take(Job("abcd"));
  releaser.join();
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->Identity.Size, 4);
}

TEST(DecodeQueueThread, PreparesFilesWhileTheViewerTakesDiscardsAndLetsGo) {
  TTempTree tree;
  std::vector<std::string> files;
  for (int i = 0; i < 6; ++i) {
    files.push_back(tree.Write("queue" + std::to_string(i) + ".jpg",
                               MakeSampleJpeg({TSampleKind::Photo, 64 + 8 * i, 48})));
    AgeFile(files.back());
  }
  const gdi::TPixelFormat rgb565{16, 0xF800, 0x07E0, 0x001F};
  const auto job = [&](int i) { return TJpegJob{files[size_t(i)], {}, TJPEGOptions{}, rgb565}; };
  TDecodeQueue queue;
  queue.StartThread();
  // Jobs only queued when taken are dropped, so which ones come prepared varies.
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 6; ++i) queue.Post(job(i));
    for (int i = 0; i < 6; i += 2) {
      const std::optional<TPreparedJpeg> taken = queue.Take(job(i));
      if (taken) {
        EXPECT_EQ(taken->Picture.Width, 64 + 8 * i);
      }
    }  // what was taken is let go here, for the worker to free
    queue.Discard();
  }
  EXPECT_EQ(queue.Count(), 0u);
}

TEST(DecodeQueueThread, MemoryHandedBackIsKeptOnlyWhileTheRoomLeavesAJobSpaceToUseIt) {
  // The worker would keep memory a whole minute for the next job.
  std::atomic<int> made{0};
  TDecodeQueue queue(
      [&](const TJpegJob& job, TPixelReclaimer* recycle, size_t maxBytes) {
        std::optional<TPreparedJpeg> prepared = SizedByName(job, recycle, maxBytes);
        if (prepared) ++made;
        return prepared;
      },
      100, std::chrono::minutes(1));
  queue.StartThread();
  const auto prepare = [&](const std::string& name) {
    const int before = made;
    queue.Retarget({Job(name)});
    while (made == before) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  const auto keepsFor = [&](std::chrono::milliseconds time) {
    for (auto end = std::chrono::steady_clock::now() + time; std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(std::chrono::milliseconds(1)))
      if (!queue.KeepsMemoryHandedBack()) return false;
    return true;
  };
  // The shown picture is let go while nothing is held: kept for the next one.
  prepare("xxxxxx");
  std::optional<TPreparedJpeg> shown = queue.Take(Job("xxxxxx"));
  ASSERT_TRUE(shown);
  shown.reset();
  EXPECT_TRUE(keepsFor(std::chrono::milliseconds(100)));
  // The next one reuses it; it is shown, and one more is prepared beside it. When the
  // shown one is let go now, no job could use its memory before one is taken.
  prepare("yyyyyy");
  shown = queue.Take(Job("yyyyyy"));
  ASSERT_TRUE(shown);
  prepare("zzzzzz");
  shown.reset();
  EXPECT_FALSE(keepsFor(std::chrono::seconds(20)));
}

TEST(DecodeQueueThread, StopsWithJobsStillQueued) {
  std::atomic<int> runs{0};
  {
    TDecodeQueue queue([&](const TJpegJob& job, TPixelReclaimer*, size_t) {
      ++runs;
      return Made(job);
    });
    queue.StartThread();
    for (int i = 0; i < 20; ++i) queue.Post(Job(std::string(static_cast<size_t>(i + 1), 'x')));
  }
  EXPECT_LE(runs.load(), 20);
}

TEST(DecodeQueueThread, DiscardWhileTheWorkerRuns) {
  TDecodeQueue queue;  // the real preparation: files that do not exist fail at once
  queue.StartThread();
  for (int round = 0; round < 50; ++round) {
    queue.Post(Job("/nonexistent/" + std::to_string(round) + ".jpg"));
    if (round % 3 == 0) queue.Discard();
    if (round % 5 == 0) queue.Take(Job("/nonexistent/" + std::to_string(round) + ".jpg"));
  }
  queue.Discard();
  EXPECT_EQ(queue.Count(), 0u);
}

}  // namespace
