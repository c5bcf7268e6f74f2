// The cost of a message: ios::send of a one-argument method (a cached lookup, a
// signature check and the implementation's call), against a direct virtual call of the
// same work; and a send whose lookup misses because the method tables keep changing.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Send.h"

namespace {

class Accumulator : public ios::NSObject {
  IOS_RUNTIME_CLASS(Accumulator, ios::NSObject);

 public:
  // Not inlined, as a message's implementation is not: the baseline is a real indirect call.
  [[gnu::noinline]] virtual std::int64_t add(std::int64_t amount) {
    total += amount;
    return total;
  }
  std::int64_t total = 0;

 protected:
  Accumulator() = default;
};

void configureAccumulator(ios::Class cls) {
  ios::class_addMethod(cls, ios::sel_registerName("add:"), ios::imp([](Accumulator& self, ios::SEL, std::int64_t amount) {
                         self.total += amount;
                         return self.total;
                       }));
}

}  // namespace

IOS_DEFINE_RUNTIME_CLASS(Accumulator, "BenchAccumulator", configureAccumulator)

namespace {

void BM_DirectVirtualCall(benchmark::State& state) {
  auto accumulator = Accumulator::make();
  Accumulator* target = accumulator.get();
  for (auto _ : state) {
    benchmark::DoNotOptimize(target);  // keeps the call virtual
    benchmark::DoNotOptimize(target->add(1));
  }
}
BENCHMARK(BM_DirectVirtualCall);

void BM_SendOneArgument(benchmark::State& state) {
  auto accumulator = Accumulator::make();
  const ios::SEL add = ios::sel_registerName("add:");
  for (auto _ : state) {
    benchmark::DoNotOptimize(ios::send<std::int64_t>(accumulator, add, std::int64_t{1}));
  }
}
BENCHMARK(BM_SendOneArgument);

// The same message to a subclass two levels down, so the lookup walks the chain.
void BM_SendOneArgumentInherited(benchmark::State& state) {
  static const ios::Class leaf = [] {
    ios::Class mid = ios::objc_allocateClassPair(Accumulator::classObject(), "BenchAccumulatorMid");
    ios::objc_registerClassPair(mid);
    ios::Class made = ios::objc_allocateClassPair(mid, "BenchAccumulatorLeaf");
    ios::objc_registerClassPair(made);
    return made;
  }();
  auto accumulator = ios::runtime_internal::constructWithClass<Accumulator>(leaf);
  const ios::SEL add = ios::sel_registerName("add:");
  for (auto _ : state) {
    benchmark::DoNotOptimize(ios::send<std::int64_t>(accumulator, add, std::int64_t{1}));
  }
}
BENCHMARK(BM_SendOneArgumentInherited);

// Every send follows a method-table change, so each one walks the tables under the lock.
void BM_SendAfterATableChange(benchmark::State& state) {
  auto accumulator = Accumulator::make();
  const ios::SEL add = ios::sel_registerName("add:");
  ios::Method method = ios::class_getInstanceMethod(Accumulator::classObject(), add);
  const ios::IMP implementation = ios::method_getImplementation(method);
  for (auto _ : state) {
    ios::method_setImplementation(method, implementation);
    benchmark::DoNotOptimize(ios::send<std::int64_t>(accumulator, add, std::int64_t{1}));
  }
}
BENCHMARK(BM_SendAfterATableChange);

}  // namespace
