#include "platform/runtime/Runtime.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "platform/foundation/Precondition.h"
#include "platform/runtime/internal/RuntimeTables.h"

namespace ios {

// Makes class and metaclass objects, which only the runtime may construct.
struct ClassFactory {
  static std::shared_ptr<objc_class> make(Class isa, std::unique_ptr<objc_class::Data> data) {
    return std::shared_ptr<objc_class>(new objc_class(isa, std::move(data)));
  }
  static void setClass(NSObject& object, Class isa) { object.isa_ = isa; }
};

objc_class::objc_class(Class isa, std::unique_ptr<Data> data) : NSObject(isa), data_(std::move(data)) {}
objc_class::~objc_class() = default;

namespace runtime_internal {

Tables& tables() {
  static auto* instance = new Tables;  // lives until exit: classes are immortal
  return *instance;
}

namespace {

thread_local Class pendingClass = nullptr;

struct ImpStore {
  std::mutex lock;
  std::vector<std::unique_ptr<ImpBase>> records;
};

ImpStore& impStore() {
  static auto* instance = new ImpStore;  // implementations live until exit, as code does
  return *instance;
}

const ImpBase* checkedImp(IMP imp, const char* function) {
  if (!imp) ios::fatalError(std::string(function) + ": null implementation");
  return imp.record();
}

std::string typesOrDefault(std::string_view types, IMP imp) {
  return types.empty() ? imp.typeEncoding() : std::string(types);
}

}  // namespace

PendingClassScope::PendingClassScope(Class cls) : previous_(pendingClass) { pendingClass = cls; }
PendingClassScope::~PendingClassScope() { pendingClass = previous_; }

const ImpBase* keep(std::unique_ptr<ImpBase> record) {
  auto& store = impStore();
  std::lock_guard lock(store.lock);
  store.records.push_back(std::move(record));
  return store.records.back().get();
}

void receiverTypeMismatch(const NSObject& receiver, SEL cmd, const std::type_info& expected) {
  ios::fatalError(std::string("-[") + class_getName(receiver.getClass()) + " " + sel_getName(cmd) +
                  "]: the implementation expects a receiver of C++ type " + demangledTypeName(expected) +
                  ", but the receiver is a " + demangledTypeName(typeid(receiver)));
}

void argumentTypeMismatch(const NSObject& receiver, SEL cmd, int position, const std::type_info& expected,
                          const NSObject& argument) {
  ios::fatalError(std::string("-[") + class_getName(receiver.getClass()) + " " + sel_getName(cmd) + "]: argument " +
                  std::to_string(position) + " must be a " + demangledTypeName(expected) + ", but it is a " +
                  class_getName(argument.getClass()) + " (" + demangledTypeName(typeid(argument)) + ")");
}

Class registerNativeClass(const char* name, Class superclass, InstanceFactory factory, ClassConfigurator configure) {
  Class cls = objc_allocateClassPair(superclass, name);
  if (cls == nullptr) ios::fatalError(std::string("a class named ") + name + " is already registered");
  {
    auto& t = tables();
    std::unique_lock lock(t.lock);
    cls->data().factory = factory;
    cls->data().native = true;
  }
  if (configure != nullptr) configure(cls);
  objc_registerClassPair(cls);
  return cls;
}

}  // namespace runtime_internal

using runtime_internal::tables;

// ---- IMP -----------------------------------------------------------------------------

std::string demangledTypeName(const std::type_info& type) {
  int status = 0;
  char* readable = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string result = (status == 0 && readable != nullptr) ? readable : type.name();
  std::free(readable);
  return result;
}

std::string IMP::signatureName() const { return record_ ? demangledTypeName(record_->signature()) : std::string(); }

std::string IMP::typeEncoding() const { return record_ ? record_->typeEncoding() : std::string(); }

// ---- NSObject ------------------------------------------------------------------------

NSObject::NSObject() : isa_(runtime_internal::pendingClass) {
  if (isa_ == nullptr) ios::fatalError("an NSObject must be made through its class's make() factory");
  runtime_internal::pendingClass = nullptr;  // the class is for this object only, not its members
}

Class NSObject::classObject() {
  static const Class cls =
      runtime_internal::registerNativeClass("NSObject", nullptr, &NSObject::makeForRuntime_, nullptr);
  return cls;
}

std::shared_ptr<NSObject> NSObject::make() { return runtime_internal::constructWithClass<NSObject>(classObject()); }

id NSObject::makeForRuntime_(Class cls) { return runtime_internal::constructWithClass<NSObject>(cls); }

bool NSObject::isKindOfClass(Class cls) const {
  auto& t = tables();
  std::shared_lock lock(t.lock);
  for (Class c = isa_; c != nullptr; c = c->data().superclass) {
    if (c == cls) return true;
  }
  return false;
}

bool NSObject::respondsToSelector(SEL selector) const {
  auto& t = tables();
  std::shared_lock lock(t.lock);
  return runtime_internal::findMethodLocked(isa_, selector) != nullptr;
}

bool NSObject::conformsToProtocol(const Protocol* protocol) const {
  // A class object conforms through what its class adopts, not its metaclass.
  Class cls = isa_->data().isMeta ? static_cast<Class>(const_cast<NSObject*>(this)) : isa_;
  return ios::conformsToProtocol(cls, protocol);
}

// ---- Classes -------------------------------------------------------------------------

Class objc_allocateClassPair(Class superclass, std::string_view name, std::size_t /*extraBytes*/) {
  auto& t = tables();
  std::unique_lock lock(t.lock);
  std::string key(name);
  if (key.empty() || t.byName.contains(key)) return nullptr;
  if (superclass != nullptr && superclass->data().isMeta) return nullptr;

  auto metaData = std::make_unique<objc_class::Data>();
  metaData->name = key;
  metaData->isMeta = true;
  // A metaclass's class is the root metaclass; a new root's metaclass is its own class.
  Class rootMeta = superclass != nullptr ? superclass->getClass()->getClass() : nullptr;
  auto meta = ClassFactory::make(rootMeta, std::move(metaData));
  if (rootMeta == nullptr) ClassFactory::setClass(*meta, meta.get());

  auto classData = std::make_unique<objc_class::Data>();
  classData->name = key;
  classData->superclass = superclass;
  auto cls = ClassFactory::make(meta.get(), std::move(classData));
  // The metaclass chain mirrors the class chain; a root metaclass inherits from its root.
  meta->data().superclass = superclass != nullptr ? superclass->getClass() : cls.get();

  t.owned.push_back(meta);
  t.owned.push_back(cls);
  t.byName.emplace(std::move(key), cls.get());
  return cls.get();
}

void objc_registerClassPair(Class cls) {
  if (cls == nullptr) return;
  auto& t = tables();
  std::unique_lock lock(t.lock);
  if (cls->data().isMeta || cls->data().registered) return;
  cls->data().registered = true;
  cls->getClass()->data().registered = true;
  t.registered.push_back(cls);
}

Class objc_getClass(std::string_view name) {
  auto& t = tables();
  std::shared_lock lock(t.lock);
  auto it = t.byName.find(std::string(name));
  return (it != t.byName.end() && it->second->data().registered) ? it->second : nullptr;
}

Class objc_getMetaClass(std::string_view name) {
  Class cls = objc_getClass(name);
  return cls != nullptr ? cls->getClass() : nullptr;
}

Class NSClassFromString(std::string_view name) { return objc_getClass(name); }

namespace {

// Reads one length-prefixed identifier ("8BlockTap") at `pos`; nothing when malformed.
std::optional<std::string_view> readMangledIdentifier(std::string_view text, std::size_t& pos) {
  std::size_t length = 0;
  const std::size_t start = pos;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 4) {
    length = length * 10 + static_cast<std::size_t>(text[pos] - '0');
    ++pos;
  }
  if (pos == start || length == 0 || text[start] == '0' || length > text.size() - pos) return std::nullopt;
  const std::string_view identifier = text.substr(pos, length);
  pos += length;
  return identifier;
}

}  // namespace

std::string NSStringFromClass(Class cls) {
  if (cls == nullptr) return std::string();
  const std::string& name = cls->data().name;
  // A module's class is registered under its mangled name, "_TtC" + module + class, each
  // prefixed by its length; its readable name is "Module.Class".
  constexpr std::string_view kModuleClassPrefix = "_TtC";
  if (name.starts_with(kModuleClassPrefix)) {
    std::size_t pos = kModuleClassPrefix.size();
    const auto module = readMangledIdentifier(name, pos);
    const auto type = module ? readMangledIdentifier(name, pos) : std::nullopt;
    if (type && pos == name.size()) return std::string(*module) + "." + std::string(*type);
  }
  return name;
}

int objc_getClassList(Class* buffer, int bufferCount) {
  auto& t = tables();
  std::shared_lock lock(t.lock);
  const int count = static_cast<int>(t.registered.size());
  if (buffer != nullptr && bufferCount > 0) {
    std::copy_n(t.registered.begin(), std::min(bufferCount, count), buffer);
  }
  return count;
}

const char* class_getName(Class cls) { return cls != nullptr ? cls->data().name.c_str() : "nil"; }

Class class_getSuperclass(Class cls) { return cls != nullptr ? cls->data().superclass : nullptr; }

bool class_isMetaClass(Class cls) { return cls != nullptr && cls->data().isMeta; }

Class object_getClass(const NSObject* object) { return object != nullptr ? object->getClass() : nullptr; }

id class_createInstance(Class cls, std::size_t /*extraBytes*/) {
  if (cls == nullptr) return nullptr;
  runtime_internal::InstanceFactory factory = nullptr;
  {
    auto& t = tables();
    std::shared_lock lock(t.lock);
    if (cls->data().isMeta) return nullptr;
    Class native = cls;
    while (native != nullptr && !native->data().native) native = native->data().superclass;
    if (native != nullptr) factory = native->data().factory;
  }
  return factory != nullptr ? factory(cls) : nullptr;
}

// ---- Methods -------------------------------------------------------------------------

Method class_getInstanceMethod(Class cls, SEL selector) {
  if (cls == nullptr || selector == nullptr) return nullptr;
  auto& t = tables();
  std::shared_lock lock(t.lock);
  return runtime_internal::findMethodLocked(cls, selector);
}

Method class_getClassMethod(Class cls, SEL selector) {
  if (cls == nullptr) return nullptr;
  return class_getInstanceMethod(cls->data().isMeta ? cls : cls->getClass(), selector);
}

bool class_addMethod(Class cls, SEL selector, IMP imp, std::string_view types) {
  const auto* record = runtime_internal::checkedImp(imp, "class_addMethod");
  if (cls == nullptr || selector == nullptr) return false;
  auto method = std::make_unique<objc_method>(objc_method{selector, record, runtime_internal::typesOrDefault(types, imp)});
  auto& t = tables();
  std::unique_lock lock(t.lock);
  const bool added = cls->data().methods.insert(std::move(method)).second;
  if (added) runtime_internal::methodTablesChangedLocked();
  return added;
}

IMP class_replaceMethod(Class cls, SEL selector, IMP imp, std::string_view types) {
  const auto* record = runtime_internal::checkedImp(imp, "class_replaceMethod");
  if (cls == nullptr || selector == nullptr) return IMP();
  auto method = std::make_unique<objc_method>(objc_method{selector, record, runtime_internal::typesOrDefault(types, imp)});
  auto& t = tables();
  std::unique_lock lock(t.lock);
  auto [stored, added] = cls->data().methods.insert(std::move(method));
  runtime_internal::methodTablesChangedLocked();
  if (added) return IMP();
  IMP previous(stored->imp);
  stored->imp = record;
  return previous;
}

bool class_respondsToSelector(Class cls, SEL selector) { return class_getInstanceMethod(cls, selector) != nullptr; }

IMP class_getMethodImplementation(Class cls, SEL selector) {
  if (cls == nullptr || selector == nullptr) return IMP();
  auto& t = tables();
  std::shared_lock lock(t.lock);
  auto* m = runtime_internal::findMethodLocked(cls, selector);
  return m != nullptr ? IMP(m->imp) : IMP();
}

std::vector<Method> class_copyMethodList(Class cls) {
  std::vector<Method> result;
  if (cls == nullptr) return result;
  auto& t = tables();
  std::shared_lock lock(t.lock);
  for (const auto& method : cls->data().methods.methods()) result.push_back(method.get());
  return result;
}

SEL method_getName(Method method) { return method != nullptr ? method->name : nullptr; }

IMP method_getImplementation(Method method) {
  if (method == nullptr) return IMP();
  auto& t = tables();
  std::shared_lock lock(t.lock);
  return IMP(method->imp);
}

IMP method_setImplementation(Method method, IMP imp) {
  const auto* record = runtime_internal::checkedImp(imp, "method_setImplementation");
  if (method == nullptr) return IMP();
  auto& t = tables();
  std::unique_lock lock(t.lock);
  IMP previous(method->imp);
  method->imp = record;
  runtime_internal::methodTablesChangedLocked();
  return previous;
}

void method_exchangeImplementations(Method first, Method second) {
  if (first == nullptr || second == nullptr) return;
  auto& t = tables();
  std::unique_lock lock(t.lock);
  std::swap(first->imp, second->imp);
  runtime_internal::methodTablesChangedLocked();
}

const char* method_getTypeEncoding(Method method) { return method != nullptr ? method->types.c_str() : nullptr; }

}  // namespace ios
