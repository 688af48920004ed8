// Access to objects of which a process has exactly one.
#ifndef QAX_HOST_QAX_MODEL_SINGLETONOBJECT_H_
#define QAX_HOST_QAX_MODEL_SINGLETONOBJECT_H_

namespace QAX {
namespace Util {

// SingletonObject<T>::Instance() answers the process's one T, created on first
// use and destroyed at exit. The template declares the accessor only: each
// supported T gets an explicit specialization defined out of line in the QAX
// library, so that the object lives in that library alone and modules loaded
// as separate shared libraries do not each get a copy of their own.
template <typename T>
class SingletonObject {
 public:
  SingletonObject() = delete;
  static T& Instance();
};

}  // namespace Util
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_SINGLETONOBJECT_H_
