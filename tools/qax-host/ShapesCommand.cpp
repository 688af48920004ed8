// qax-host shapes: the SHACL shapes that the ontology states by itself.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/qax/shacl/DerivedShapes.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/ClassNames.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/Verbosity.h"

namespace qaxoi::qax_host {

int RunShapes(const Invocation& invocation) {
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  // Every class named must be found before anything is written, so that a
  // misspelt name leaves no partial document behind.
  std::vector<const QAX::Ontology::MetaClass*> classes;
  for (const std::string& name : invocation.arguments) {
    const QAX::Ontology::MetaClass* metaClass = nullptr;
    const qaxoi::Status found = FindClass(session->model(), name, &metaClass);
    if (!found.ok()) return Fail(found);
    classes.push_back(metaClass);
  }
  const std::string text = qaxoi::shacl::DerivedShapesTurtle(session->model(), classes);
  if (invocation.output.empty()) {
    std::fputs(text.c_str(), stdout);
    return kExitOk;
  }
  bool toStandardOutput = false;
  if (!WriteOutput(invocation.output, text, &toStandardOutput)) return kExitFailure;
  if (toStandardOutput) return kExitOk;
  const std::size_t count = classes.empty() ? session->model().GetClassCount() : classes.size();
  Note("wrote the shapes of " + Counted(count, "class", "classes") + " to " +
       Escaped(invocation.output));
  return kExitOk;
}

}  // namespace qaxoi::qax_host
