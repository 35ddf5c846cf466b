#include <gtest/gtest.h>

#include <thread>

#include "link/ecm_link.h"

namespace vantor {
namespace {

std::uint8_t Value(std::uint32_t i) { return static_cast<std::uint8_t>(i * 13 + 5); }

TEST(RxRing, PeekDoesNotAdvanceAndAnEmptyRingGivesMinusOne) {
  EcmLink link;
  EXPECT_EQ(link.RxPeekByte(), -1);
  link.StoreRxByte(0x53);
  link.StoreRxByte(0x41);
  EXPECT_EQ(link.RxPeekByte(), 0x53);
  EXPECT_EQ(link.RxNextByte(), 0x53);
  EXPECT_EQ(link.RxAvailable(), 1u);
  EXPECT_EQ(link.RxNextByte(), 0x41);
  EXPECT_EQ(link.RxNextByte(), -1);
  EXPECT_EQ(link.RxPeekByte(), -1);
}

// Write position at the end, read position 0: the ring is full and stays so.
TEST(RxRing, FullRingDropsUntilTheReaderTakesAByteInBothPrograms) {
  for (const LinkProfile* profile : {&MainProgramProfile(), &UpdateUtilityProfile()}) {
    EcmLink link(*profile);
    const std::uint32_t capacity = profile == &MainProgramProfile() ? 18431 : 33791;
    for (std::uint32_t i = 0; i < capacity + 2; ++i) link.StoreRxByte(Value(i));  // the last two dropped
    EXPECT_EQ(link.RxAvailable(), capacity);
    EXPECT_EQ(link.RxNextByte(), Value(0));
    link.StoreRxByte(0x77);  // stored again, at index 0
    EXPECT_EQ(link.RxAvailable(), capacity);
    for (std::uint32_t i = 1; i < capacity; ++i) ASSERT_EQ(link.RxNextByte(), Value(i)) << i;
    EXPECT_EQ(link.RxNextByte(), 0x77);
    EXPECT_EQ(link.RxAvailable(), 0u);
  }
}

// The writer never moves the reader's index: bytes stored after a reset are
// read next, and a full ring counts the discarded bytes as free.
TEST(RxRing, ResetOnTheWriterSideDiscardsOnlyWhatCameBefore) {
  EcmLink link;
  for (int i = 0; i < 10; ++i) link.StoreRxByte(static_cast<std::uint8_t>(i));
  EXPECT_EQ(link.RxNextByte(), 0);
  EXPECT_FALSE(link.ServiceRxReset());
  link.RequestRxReset();
  ASSERT_TRUE(link.ServiceRxReset());
  EXPECT_FALSE(link.ServiceRxReset());
  EXPECT_EQ(link.RxAvailable(), 0u);
  link.StoreRxByte(0xA1);
  link.StoreRxByte(0xA2);
  EXPECT_EQ(link.RxAvailable(), 2u);
  EXPECT_EQ(link.RxNextByte(), 0xA1);
  EXPECT_EQ(link.RxNextByte(), 0xA2);
  EXPECT_EQ(link.RxNextByte(), -1);
}

TEST(RxRing, DiscardedBytesMakeRoomBeforeTheReaderReadsAgain) {
  EcmLink link;
  const std::uint32_t capacity = MainProgramProfile().ringSize - 1;
  for (std::uint32_t i = 0; i < capacity; ++i) link.StoreRxByte(Value(i));
  link.RequestRxReset();
  ASSERT_TRUE(link.ServiceRxReset());
  for (std::uint32_t i = 0; i < capacity; ++i) link.StoreRxByte(Value(i + 7));
  EXPECT_EQ(link.RxAvailable(), capacity);
  EXPECT_EQ(link.RxNextByte(), Value(7));
}

// One producer and one consumer on separate threads, the indices wrapping
// many times (run under TSan too).
TEST(RxRing, ConcurrentProducerAndConsumerSeeEveryByteInOrder) {
  EcmLink link;
  constexpr std::uint32_t kCount = 200000;
  std::thread producer([&] {
    for (std::uint32_t i = 0; i < kCount;) {
      if (link.RxAvailable() + 1 < MainProgramProfile().ringSize - 1) {
        link.StoreRxByte(Value(i++));
      } else {
        std::this_thread::yield();
      }
    }
  });
  std::uint32_t mismatches = 0;
  for (std::uint32_t i = 0; i < kCount;) {
    const int byte = link.RxNextByte();
    if (byte < 0) {
      std::this_thread::yield();
      continue;
    }
    mismatches += byte != Value(i++);
  }
  producer.join();
  EXPECT_EQ(mismatches, 0u);
}

// The hand-over of arrivals: a watch rings its reader's bell once the bytes
// it waits for are announced, once; the display thread's and the flash
// work's watches ring apart, and an ended watch rings no more.
TEST(RxRing, ArrivalWatchRingsOnceItsCountIsAnnounced) {
  EcmLink link;
  WakeSignal display, flash;
  const auto store = [&](int n) {
    for (int i = 0; i < n; ++i) link.StoreRxByte(Value(static_cast<std::uint32_t>(i)));
    link.AnnounceArrival();
  };
  link.WatchArrival(display, 361);
  link.WatchArrival(flash, 2);
  store(1);
  EXPECT_EQ(flash.Count(), 0u);
  store(1);
  EXPECT_EQ(flash.Count(), 1u);
  store(300);
  EXPECT_EQ(display.Count(), 0u);
  store(59);
  EXPECT_EQ(display.Count(), 1u);
  EXPECT_EQ(flash.Count(), 1u) << "one ring per watch";
  link.WatchArrival(flash, 1000);
  link.EndArrivalWatch(flash);
  store(700);
  EXPECT_EQ(flash.Count(), 1u);
  EXPECT_EQ(display.Count(), 1u);
}

}  // namespace
}  // namespace vantor
