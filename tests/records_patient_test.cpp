// Patient, subscriber and extended-data records through FormatRecord.
#include <gtest/gtest.h>

#include "records/layouts.h"
#include "tests/records_support.h"

namespace ub04 {
namespace {

using test::Batch;
using test::Error9;
using test::RecordText;

TEST(PatientRecord, BoundariesAndFieldRules) {
  Batch b;
  Record& p = b.claim().this_top.patient;
  p[patient::Member53] = "stale";
  ASSERT_EQ(b.Send("4000", RecordText(kPatientLayout, 50)
                               .Set(patient::SexCode, "m")
                               .Set(patient::AddressLine1, "12 MAIN ST. #4")
                               .Set(patient::BirthDate, "01/02/1950")),
            0);
  for (size_t m : {patient::Field50, patient::Country, patient::Country2, patient::Member53})
    EXPECT_EQ(p[m], "") << m;
  EXPECT_EQ(p[patient::SexCode], "U");
  EXPECT_EQ(p[patient::SexDescription], "UNKNOWN");
  EXPECT_EQ(p[patient::AddressLine1], "12 MAIN ST. 4");
  EXPECT_EQ(p[patient::BirthDate], "01/02/1950");  // not cleaned

  EXPECT_EQ(b.Send("4000", RecordText(kPatientLayout, 52)), 1);  // group 51-52 incomplete
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParsePatientRec()  Error: ")});
  ASSERT_EQ(b.Send("4000", RecordText(kPatientLayout, 53).Set(patient::Country, "CANADA")), 0);
  EXPECT_EQ(p[patient::Country], "CA");
}

TEST(SubscriberRecord, Token11Mapping) {
  for (auto [in, field11, mapped] : {std::tuple{"3", "1", "1"}, {"2", "0", "1"}, {"1", "1", "0"}}) {
    Batch b;
    ASSERT_EQ(b.Send("5000", RecordText(kSubscriberLayout, 65).Set(subscriber::Field11, in)), 0);
    const Record& s = b.claim().this_top.subscriber;
    EXPECT_EQ(s[subscriber::Field11], field11) << in;
    EXPECT_EQ(s[subscriber::Field11Mapped], mapped) << in;
  }
}

// The second part is the whole text after the first "~", also when the two
// halves differ in length.
TEST(SubscriberRecord, Token38SplitsAtTheFirstTilde) {
  for (auto [in, first, second] : {std::tuple{"ABC~XYZ", "ABC", "XYZ"},
                                   {"AB~WXYZ~Q", "AB", "WXYZ~Q"}, {"ABC", "ABC", ""}}) {
    Batch b;
    ASSERT_EQ(b.Send("5000", RecordText(kSubscriberLayout, 65).Set(subscriber::Field38, in)), 0);
    const Record& s = b.claim().this_top.subscriber;
    EXPECT_EQ(s[subscriber::Field38], first) << in;
    EXPECT_EQ(s[subscriber::Field38SecondPart], second) << in;
  }
}

TEST(SubscriberRecord, ShiftedMembersBoundariesAndCleanUp) {
  Batch b;
  RecordText t(kSubscriberLayout, 67);
  t.Token(45, "T45").Token(46, "1 ELM ST. #9").Token(65, "GERMANY").Token(66, "2.0");
  ASSERT_EQ(b.Send("5000", t.Set(subscriber::SexCode, "X").Set(subscriber::LastName, "van Dyke")), 0);
  const Record& s = b.claim().this_top.subscriber;
  EXPECT_EQ(s[subscriber::Field45], "T45");
  EXPECT_EQ(s[subscriber::AddressLine1], "1 ELM ST. 9");
  EXPECT_EQ(s[subscriber::Country], "DE");
  EXPECT_EQ(s[subscriber::Country2], "CA");
  EXPECT_EQ(s[subscriber::SexCode], "U");
  EXPECT_EQ(s[subscriber::LastName], " D");

  ASSERT_EQ(b.Send("5000", RecordText(kSubscriberLayout, 65)), 0);
  EXPECT_EQ(s[subscriber::Country], "");
  EXPECT_EQ(b.Send("5000", RecordText(kSubscriberLayout, 66)), 1);
  EXPECT_EQ(b.Msgs(), std::vector<std::string>{Error9(" ParseSubscriber()  Error: ")});
}

TEST(ExtDataRecord, PairsText) {
  Batch b;
  const Record& e = b.claim().this_top.ext[0];
  ASSERT_EQ(b.Send("5010", "X//20011//A//30005//B"), 0);
  EXPECT_EQ(e[ext_data::Pairs], "~20011A~30005B~");
  // Codes are cut to five characters; a code without its value closes the text.
  ASSERT_EQ(b.Send("5010", "X//1234567//V1//12//V2//99999"), 0);
  EXPECT_EQ(e[ext_data::Pairs], "~12345V1~12V2~99999~");
  ASSERT_EQ(b.Send("5010", "X"), 0);
  EXPECT_EQ(e[ext_data::Field00], "X");
  EXPECT_EQ(e[ext_data::Pairs], "");
  ASSERT_EQ(b.Send("6024", "Y//20007//0111"), 0);
  EXPECT_EQ(b.claim().this_group.ext_second(3)[ext_data::Pairs], "~200070111~");
}

}  // namespace
}  // namespace ub04
