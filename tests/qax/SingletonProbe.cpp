// A stand-alone shared library that answers the ambassador it sees, so that a
// test can compare it with the one the test program sees.
#include "host/qax/model/QAX.h"

extern "C" __attribute__((visibility("default"))) QAX::QAXAmbassador* QaxProbeAmbassador() {
  return &QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance();
}
