#include "CallerIdStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

using lindev::CallerIdStore;

namespace {

using Reply = std::uint8_t[CallerIdStore::kReplySize];

void Fill(Reply& reply, std::initializer_list<int> bytes) {
    std::memset(reply, 0, sizeof reply);
    std::size_t i = 0;
    for (int b : bytes) reply[i++] = static_cast<std::uint8_t>(b);
}

}  // namespace

TEST(CallerIdStore, DateTimeAndNumberAreTakenFromTheMessage) {
    Reply reply;
    Fill(reply, {0x80, 0x0E, 0x01, 0x08, '1', '2', '0', '7', '1', '2', '3', '0', 0x02, 0x02, '0',
                 '1'});
    CallerIdStore store;
    store.Parse(reply);
    EXPECT_EQ(store.Date(), "1207");
    EXPECT_EQ(store.Time(), "1230");
    EXPECT_EQ(store.Number(), "01");
    const std::string record = store.BuildRecord();
    EXPECT_EQ(record, std::string("12071230\x02" "01"));
    EXPECT_EQ(store.Output(), record);
}

TEST(CallerIdStore, NumberFirstThenDate) {
    Reply reply;
    Fill(reply, {0x80, 0x0F, 0x02, 0x03, '1', '2', '3', 0x01, 0x08, '0', '1', '0', '2', '0', '3',
                 '0', '4'});
    CallerIdStore store;
    store.Parse(reply);
    EXPECT_EQ(store.Number(), "123");
    EXPECT_EQ(store.Date(), "0102");
    EXPECT_EQ(store.Time(), "0304");
}

TEST(CallerIdStore, NoDateGivesAnEmptyRecord) {
    Reply reply;
    Fill(reply, {0x80, 0x04, 0x02, 0x02, '5', '5'});
    CallerIdStore store;
    store.Parse(reply);
    EXPECT_EQ(store.Number(), "55");
    EXPECT_EQ(store.BuildRecord(), "");
}

TEST(CallerIdStore, NumberLengthBeyondTheReplyKeepsOnlyWhatIsThere) {
    Reply reply;
    Fill(reply, {0x80, 0xFF, 0x02, 0xF0});
    for (std::size_t i = 4; i < sizeof reply; ++i) reply[i] = '7';
    CallerIdStore store;
    store.Parse(reply);  // must not read past the 26 bytes (ASan checks)
    EXPECT_EQ(store.Number(), std::string(19, '7')) << "at most 19 digits are stored";
}

TEST(CallerIdStore, AtMostNineteenDigitsAreStored) {
    Reply reply;
    Fill(reply, {0x80, 0x16, 0x02, 0x14});
    for (std::size_t i = 4; i < 24; ++i) reply[i] = static_cast<std::uint8_t>('0' + i % 10);
    CallerIdStore store;
    store.Parse(reply);
    EXPECT_EQ(store.Number().size(), 19u);
    EXPECT_EQ(store.Number(), "4567890123456789012");
}

TEST(CallerIdStore, DateParameterCutByTheEndOfTheReplyIsNotStored) {
    Reply reply;
    Fill(reply, {0x80, 0x20, 0x02, 0x12});
    for (std::size_t i = 4; i < 22; ++i) reply[i] = '9';
    reply[22] = 0x01;  // date parameter starting 4 bytes before the end
    reply[23] = 0x08;
    reply[24] = '1';
    reply[25] = '2';
    CallerIdStore store;
    store.Parse(reply);
    EXPECT_EQ(store.Date(), "");
    EXPECT_EQ(store.Number(), std::string(18, '9'));
}

TEST(CallerIdStore, UnknownParameterTypeEndsTheParse) {
    Reply reply;
    Fill(reply, {0x80, 0x10, 0x07, 0x02, 'x', 'y', 0x02, 0x02, '1', '2'});
    CallerIdStore store;
    store.Parse(reply);
    EXPECT_EQ(store.Number(), "");
}

TEST(CallerIdStore, ZeroMessageLengthParsesNothing) {
    Reply reply;
    Fill(reply, {0x80, 0x00, 0x02, 0x02, '1', '2'});
    CallerIdStore store;
    store.Parse(reply);
    EXPECT_EQ(store.Number(), "");
}

TEST(CallerIdStore, ClearEmptiesStoreAndOutput) {
    Reply reply;
    Fill(reply, {0x80, 0x0E, 0x01, 0x08, '1', '2', '0', '7', '1', '2', '3', '0', 0x02, 0x02, '0',
                 '1'});
    CallerIdStore store;
    store.Parse(reply);
    store.BuildRecord();
    store.Clear();
    EXPECT_EQ(store.Output(), "");
    EXPECT_EQ(store.BuildRecord(), "");
    EXPECT_EQ(store.Number(), "");
}
