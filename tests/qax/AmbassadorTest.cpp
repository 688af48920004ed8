#include <dlfcn.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace QAX {
namespace {

// One ambassador per process: a separately loaded shared library (like a
// channel module) must reach the same one, not a copy of its own, and sees
// the model set here. The ambassador does not own the model.
TEST(Ambassador, SeparatelyLoadedLibrarySeesTheSameInstanceAndModel) {
  QAXAmbassador& ambassador = Util::SingletonObject<QAXAmbassador>::Instance();
  const char* const binDir = std::getenv("QAX_BIN_DIR");
  ASSERT_NE(binDir, nullptr) << "QAX_BIN_DIR is not set; run this test through ctest";
  const std::string path = std::string(binDir) + "/qax_singleton_probe.so";
  void* const handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  using ProbeFunction = QAXAmbassador* (*)();
  const auto probe = reinterpret_cast<ProbeFunction>(dlsym(handle, "QaxProbeAmbassador"));
  ASSERT_NE(probe, nullptr) << dlerror();
  EXPECT_EQ(probe(), &ambassador);

  Ontology::OntologyModel* const previous = ambassador.GetOntologyModel();
  {
    Ontology::OntologyModel model;
    ambassador.SetOntologyModel(&model);
    EXPECT_EQ(probe()->GetOntologyModel(), &model);
    ambassador.SetOntologyModel(nullptr);
    EXPECT_EQ(probe()->GetOntologyModel(), nullptr);
  }
  ambassador.SetOntologyModel(previous);
  dlclose(handle);
}

}  // namespace
}  // namespace QAX
