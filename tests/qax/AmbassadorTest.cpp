#include <dlfcn.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace QAX {
namespace {

class AmbassadorTest : public ::testing::Test {
 protected:
  QAXAmbassador& ambassador_ = Util::SingletonObject<QAXAmbassador>::Instance();
};

TEST_F(AmbassadorTest, InstanceIsOneObjectThatHoldsTheModelWithoutOwningIt) {
  EXPECT_EQ(&Util::SingletonObject<QAXAmbassador>::Instance(), &ambassador_);
  Ontology::OntologyModel* const previous = ambassador_.GetOntologyModel();
  {
    Ontology::OntologyModel model;
    ambassador_.SetOntologyModel(&model);
    EXPECT_EQ(Util::SingletonObject<QAXAmbassador>::Instance().GetOntologyModel(), &model);
    ambassador_.SetOntologyModel(nullptr);
    EXPECT_EQ(ambassador_.GetOntologyModel(), nullptr);
  }
  ambassador_.SetOntologyModel(previous);
}

// A separately loaded shared library (like a channel module) must reach the
// same ambassador, not a copy of its own.
TEST_F(AmbassadorTest, SeparatelyLoadedLibrarySeesTheSameInstance) {
  const char* const binDir = std::getenv("QAX_BIN_DIR");
  ASSERT_NE(binDir, nullptr) << "QAX_BIN_DIR is not set; run this test through ctest";
  const std::string path = std::string(binDir) + "/qax_singleton_probe.so";
  void* const handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  using ProbeFunction = QAXAmbassador* (*)();
  const auto probe = reinterpret_cast<ProbeFunction>(dlsym(handle, "QaxProbeAmbassador"));
  ASSERT_NE(probe, nullptr) << dlerror();
  EXPECT_EQ(probe(), &ambassador_);
  dlclose(handle);
}

}  // namespace
}  // namespace QAX
