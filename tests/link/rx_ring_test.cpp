#include <gtest/gtest.h>

#include <thread>

#include "link/ecm_link.h"

namespace vantor {
namespace {

std::uint8_t Value(std::uint32_t i) { return static_cast<std::uint8_t>(i * 13 + 5); }

// Stores bytes and announces them, as the communication thread does.
void Store(EcmLink& link, std::uint32_t count, std::uint32_t first = 0) {
  for (std::uint32_t i = first; i < first + count; ++i) link.StoreRxByte(Value(i));
  link.AnnounceArrival();
}

// A full ring drops bytes until the reader takes one; a peek does not advance.
TEST(RxRing, FullRingDropsUntilTheReaderTakesAByteInBothPrograms) {
  for (const LinkProfile* profile : {&MainProgramProfile(), &UpdateUtilityProfile()}) {
    EcmLink link(*profile);
    const std::uint32_t capacity = profile == &MainProgramProfile() ? 18431 : 33791;
    Store(link, capacity + 2);  // the last two dropped
    EXPECT_EQ(link.RxAvailable(), capacity);
    EXPECT_EQ(link.RxPeekByte(), Value(0));
    EXPECT_EQ(link.RxNextByte(), Value(0));
    link.StoreRxByte(0x77);  // stored again, at index 0
    for (std::uint32_t i = 1; i < capacity; ++i) ASSERT_EQ(link.RxNextByte(), Value(i)) << i;
    EXPECT_EQ(link.RxPeekByte(), 0x77);
    EXPECT_EQ(link.RxNextByte(), 0x77);
    EXPECT_EQ(link.RxNextByte(), -1);
    EXPECT_EQ(link.RxPeekByte(), -1);
  }
}

// A reset on the writer's side: what came after it is read next, and what it discards is room.
TEST(RxRing, ResetOnTheWriterSideDiscardsOnlyWhatCameBefore) {
  EcmLink link;
  const std::uint32_t capacity = MainProgramProfile().ringSize - 1;
  Store(link, capacity);
  EXPECT_EQ(link.RxNextByte(), Value(0));
  EXPECT_FALSE(link.ServiceRxReset());
  link.RequestRxReset();
  ASSERT_TRUE(link.ServiceRxReset());
  EXPECT_FALSE(link.ServiceRxReset());
  Store(link, capacity, 7);
  EXPECT_EQ(link.RxAvailable(), capacity);
  EXPECT_EQ(link.RxNextByte(), Value(7));
}

// A producer and a consumer thread, the indices wrapping many times (run under TSan too).
TEST(RxRing, ConcurrentProducerAndConsumerSeeEveryByteInOrder) {
  EcmLink link;
  constexpr std::uint32_t kCount = 200000;
  std::thread producer([&] {
    for (std::uint32_t i = 0; i < kCount;) {
      if (link.RxAvailable() + 2 < MainProgramProfile().ringSize)
        link.StoreRxByte(Value(i++));
      else
        std::this_thread::yield();
    }
  });
  std::uint32_t mismatches = 0;
  for (std::uint32_t i = 0; i < kCount;) {
    const int byte = link.RxNextByte();
    if (byte < 0)
      std::this_thread::yield();
    else
      mismatches += byte != Value(i++);
  }
  producer.join();
  EXPECT_EQ(mismatches, 0u);
}

// A watch rings its bell once, when its count is announced; an ended watch rings no more.
TEST(RxRing, ArrivalWatchRingsOnceItsCountIsAnnounced) {
  EcmLink link;
  WakeSignal display, flash;
  link.WatchArrival(display, 361);
  link.WatchArrival(flash, 2);
  Store(link, 1);
  EXPECT_EQ(flash.Count(), 0u);
  Store(link, 1);
  EXPECT_EQ(flash.Count(), 1u);
  Store(link, 359);
  EXPECT_EQ(display.Count(), 1u);
  EXPECT_EQ(flash.Count(), 1u) << "one ring per watch";
  link.WatchArrival(flash, 1000);
  link.EndArrivalWatch(flash);
  Store(link, 700);
  EXPECT_EQ(flash.Count(), 1u);
}

}  // namespace
}  // namespace vantor
