// Which arguments of the hooked call an event's handlers receive.
#pragma once

#include <cstddef>
#include <tuple>

namespace plugin {

// The argument types of a hooked call.
template <class... Args>
struct ArgTypes {};

// Picks the arguments at `Indices` out of `Types` for the handlers, in that order.
template <class Types, size_t... Indices>
struct ArgPick;

template <class... Args, size_t... Indices>
struct ArgPick<ArgTypes<Args...>, Indices...> {
    using picked_types = ArgTypes<std::tuple_element_t<Indices, std::tuple<Args...>>...>;

    template <class Handler>
    static void Call(Handler& handler, Args&... args) {
        handler(std::get<Indices>(std::forward_as_tuple(args...))...);
    }
};

}  // namespace plugin
