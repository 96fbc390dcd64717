// Overloaded: a visitor built from lambdas, for std::visit.
#pragma once

namespace ferrolune::base {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace ferrolune::base
