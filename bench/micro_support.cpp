#include "bench/micro_support.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace ub04_bench {

const Sample kPractice{
    "B01//0//0//0//0//0//0//0//0//0//1000",
    "1//PR001//RIVER VALLEY HOSPITAL, INC//5936 MAIN ST////READING//PA//17128//7175551234"
    "//////////231234567////.//F1//131//1//7//////////1234567893//USA//RIVER VALLEY BILLING"
    "//PO BOX 44////HARRISBURG//PA//17105//USA////G06//////////////////G15"};
const Sample kInsurance{
    "B01//1//0//0//0//0//0//0//0//0//3000",
    "1//INS018//00123//CAPITAL BLUE//9823 LINCOLN BLVD////HARRISBURG//PA//171062920//////////"
    "//1//////PRAID77//PRV9 / 01//COM////1//0//1//////1//7//////////////////ALT55//USA//y////"
    "//////////////////////////////////////////////////////X"};
const Sample kCalcPref{"B01//1//0//0//0//0//0//0//0//0//3100",
                       "1//////1//0////0//2////////1////0//X"};
const Sample kBreakPref{"B01//1//0//0//0//0//0//0//0//0//3101",
                        "1//0//0//1//1//1//1//0//1//0//1//0//0//0//0//0//0//1//1//0//0//0//0//1//0"};
const Sample kPatient{
    "B01//1//0//0//0//0//0//0//0//0//4000",
    "1//A0000001////WEI//MILLER//J//////08241964////F//FEMALE//M//////////////////////////////"
    "////////7279 MARKET ST//APT 2//HARRISBURG//PA//171071894////////////////////////////////"
    "USA//USA"};
const Sample kSubscriber{
    "B01//1//0//0//0//0//0//0//0//0//5000",
    "1//S0000001//////ID1//GRP9//STATE EMPLOYEES////////1//1////////18//////JAMES//MOORE//K////"
    "//////M//MALE////////////////////////ABC~XYZ////////////////7848 RIDGE RD////LANCASTER//"
    "PA//171065364//////////////////////////////US//US"};
const Sample kCharge{
    "B01//1//6//0//0//0//0//0//0//0//6000",
    "1////////////96372//THER/PROPH/DIAG INJ//00002143380//CASE1//////////////////////////1//"
    "////21//////////////////////////////////2//584.04//0.00//E3////////////11102024//"
    "//11182024////11182024//////N//N////NONE////0771/292.02//467.23//373.78//116.81//0.00"
    "//0.00//1//1//////////////////////////////////////////////////////////////X////////////"
    "////////////////////////0//////12.000//UN//0////////0//B353//Y//C360//Y//D367//Y//E374"
    "//Y//F381//Y//////////////////////X"};
const Sample kServicingProvider{
    "B01//1//6//0//0//0//0//0//0//0//6100",
    "1//SP01//SPID22//ROSE//ANDERSON//R////////F//FEMALE//////////////////////////////////.////"
    "//////////1558899776//US////////////////////X"};
const Sample kOtherInsurance{
    "B01//1//6//0//0//0//0//0//0//0//6310",
    "1//OI010////CAPITAL BLUE//2335 PARK LN//LANCASTER//PA////////2//4//////1////////////"
    "//52.67//22.26//25.51//////M////////////////////////////////////////////////////////////"
    "////////////////////////////////////ALT55////PR|2|5.5|0//USA//US////////////////////X"};
const Sample kEndOfCharge{"B01//1//6//0//0//0//0//0//0//0//6990", "1"};

NullRun::NullRun(int log_level) {
  char tmpl[] = "/tmp/ub04_micro_XXXXXX";
  if (!mkdtemp(tmpl)) std::abort();
  dir_ = tmpl;
  // Device nodes like /dev/null, not links to it: outputs never follow links.
  for (const char* name : {"/claims.fmt", "/QVR_UB04PPA_Format.Log"})
    if (::mknod((dir_ + name).c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0) std::abort();
  fc_.HereIsAMessage("1", dir_);
  fc_.HereIsAMessage("2", "claims.fmt");
  Drain();
  for (const Sample* s : {&kPractice, &kInsurance, &kCalcPref, &kBreakPref, &kPatient,
                          &kSubscriber})
    Feed(*s);
  fc_.HereIsAMessage("5", std::to_string(log_level));
  Drain();
}

NullRun::~NullRun() {
  fc_.ProcessEndOfFile();
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void NullRun::Feed(const Sample& s) {
  if (fc_.FormatRecord(s.key, s.rec) != 0 && failure_.empty()) {
    int32_t i = 1;
    failure_ = std::string("record ") + s.key + " failed: " + fc_.GetAMessage(i);
  }
  Drain();
}

void NullRun::FeedChargeBody() {
  Feed(kCharge);
  Feed(kServicingProvider);
  Feed(kOtherInsurance);
}

void NullRun::FeedCharge() {
  FeedChargeBody();
  Feed(kEndOfCharge);
}

void NullRun::Drain() {
  for (int32_t i = 1; fc_.GetAMessage(i) != "END"; ++i) {
  }
}

}  // namespace ub04_bench
