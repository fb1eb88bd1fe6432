// The service's routes: a method, a path pattern with {name} segments, and a
// handler. Adding a route is one line; the router lists its routes, so a test
// can hold them against the API's documentation.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "service/http_types.h"

namespace vmx::service {

struct Call {
  const Exchange& exchange;
  std::string path;  // without the query
  std::map<std::string, std::string> params;  // the {name} segments
  std::map<std::string, std::string> query;   // decoded
  const HttpRequest& Request() const { return exchange.request; }
  std::string Param(const std::string& name) const;
};

using RouteHandler = std::function<void(const Call& call, Respond respond)>;

struct Route {
  http::verb method;
  std::string pattern;  // "/api/v1/boards/{id}/settings"
  RouteHandler handler;
  bool open = false;    // served without authentication
};

class Router {
 public:
  void Add(http::verb method, std::string pattern, RouteHandler handler, bool open = false);
  // The route for the request, with `call.params` filled; nullptr when none.
  // `pathKnown` tells a wrong method from an unknown path.
  const Route* Match(http::verb method, Call& call, bool& pathKnown) const;
  const std::vector<Route>& Routes() const { return routes_; }

 private:
  std::vector<Route> routes_;
};

// "/a/b?x=1&y=%20" into its path and decoded query.
void SplitTarget(std::string_view target, std::string& path,
                 std::map<std::string, std::string>& query);

}  // namespace vmx::service
