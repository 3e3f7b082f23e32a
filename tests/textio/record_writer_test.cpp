#include <gtest/gtest.h>

#include <sstream>

#include "textio/record_writer.hpp"

namespace pileaxial::textio {
namespace {

TEST(RecordWriter, WritesWholeLinesAndBlankLines) {
    std::ostringstream out;
    RecordWriter writer(&out);
    ASSERT_TRUE(writer.attached());
    writer.put("first");
    writer.blank(2);
    writer.put(Line().x(2).i(5, 3));
    writer.blank();
    writer.blank(0);
    writer.put("");
    EXPECT_EQ(out.str(), "first\n\n\n    5\n\n\n");
}

TEST(RecordWriter, WritesNothingWhenDetached) {
    std::ostringstream out;
    RecordWriter writer;
    EXPECT_FALSE(writer.attached());
    writer.put("lost");
    writer.blank(3);
    writer.attach(&out);
    writer.put("kept");
    writer.detach();
    writer.put("lost");
    writer.blank();
    EXPECT_FALSE(writer.attached());
    EXPECT_EQ(out.str(), "kept\n");
}

}  // namespace
}  // namespace pileaxial::textio
