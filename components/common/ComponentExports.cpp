#include "common/ComponentExports.h"

#include <string>

namespace vx::controlkit {
namespace {

std::u16string QualifiedName(std::u16string_view library, std::u16string_view className) {
  std::u16string name(library);
  name += u'.';
  name += className;
  return name;
}

}  // namespace

void CreateFromTable(std::u16string_view library, std::span<const ClassEntry> table,
                     std::u16string_view className, IObject** object, Status* status) noexcept {
  *object = nullptr;
  *status = Guard([&] {
    for (const ClassEntry& entry : table) {
      if (EqualsIgnoringAsciiCase(entry.name, className)) {
        *object = entry.create().Detach();
        return;
      }
    }
    Raise(kErrCannotCreate, library,
          u"ActiveX component can't create object: the class " + QualifiedName(library, className) +
              u" does not exist");
  });
}

void RaiseNotAvailable(std::u16string_view library, std::u16string_view className, Here here) {
  Raise(kErrCannotCreate, library,
        u"ActiveX component can't create object: the control " + QualifiedName(library, className) +
            u" is not available in this library",
        here);
}

}  // namespace vx::controlkit
