#include <gtest/gtest.h>

#include "audio/MpegFrame.h"

using audio::MpegFrameHeader;
using audio::ReadMpegFrameHeader;

namespace {

MpegFrameHeader Read(unsigned char b1, unsigned char b2)
{
    const unsigned char bytes[4] = {0xFF, b1, b2, 0x00};
    return ReadMpegFrameHeader(bytes);
}

}  // namespace

// A wrong length sends the decoder half a frame or two, and the file is called damaged.
TEST(MpegFrameTest, EachVersionAndLayerGivesItsFrameLength)
{
    struct Case {
        const char* what;
        unsigned char b1, b2;
        int layer, bytes;
    };
    for (const Case& c : {
             Case{"MPEG-1 layer III, 128 kbit/s, 44.1 kHz", 0xFB, 0x90, 3, 417},
             Case{"the same with a padding byte", 0xFB, 0x92, 3, 418},
             Case{"MPEG-1 layer III, 64 kbit/s, 44.1 kHz (the fixture)", 0xFB, 0x50, 3, 208},
             Case{"MPEG-1 layer II, 192 kbit/s, 48 kHz", 0xFD, 0xA4, 2, 576},
             Case{"MPEG-1 layer I, 384 kbit/s, 48 kHz", 0xFF, 0xC4, 1, 384},
             Case{"MPEG-1 layer I with a padding slot of four bytes", 0xFF, 0xC6, 1, 388},
             Case{"MPEG-2 layer III, 64 kbit/s, 22.05 kHz", 0xF3, 0x80, 3, 208},
             Case{"MPEG-2 layer II, 64 kbit/s, 24 kHz", 0xF5, 0x84, 2, 384},
             Case{"MPEG-2.5 layer III, 8 kbit/s, 8 kHz", 0xE3, 0x18, 3, 72},
         }) {
        const MpegFrameHeader header = Read(c.b1, c.b2);
        EXPECT_EQ(header.layer, c.layer) << c.what;
        EXPECT_EQ(header.bytes, c.bytes) << c.what;
    }
}

TEST(MpegFrameTest, WhatIsNoFrameHeaderIsRefused)
{
    EXPECT_EQ(Read(0xFB, 0x00).layer, 0) << "free bit rate";
    EXPECT_EQ(Read(0xFB, 0xF0).layer, 0) << "bit rate index 15";
    EXPECT_EQ(Read(0xFB, 0x9C).layer, 0) << "sample rate index 3";
    EXPECT_EQ(Read(0xEB, 0x90).layer, 0) << "reserved version";
    EXPECT_EQ(Read(0xF9, 0x90).layer, 0) << "reserved layer";
    const unsigned char text[4] = {'T', 'A', 'G', 'x'};
    EXPECT_EQ(ReadMpegFrameHeader(text).layer, 0) << "no sync";
}
