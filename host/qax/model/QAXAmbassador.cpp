#include "host/qax/model/QAXAmbassador.h"

namespace QAX {

// Lives in the QAX library only; see SingletonObject.
template <>
QAXAmbassador& Util::SingletonObject<QAXAmbassador>::Instance() {
  static QAXAmbassador ambassador;
  return ambassador;
}

}  // namespace QAX
