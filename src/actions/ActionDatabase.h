#pragma once
// The database behind the actions, for the actions' own files only: nothing outside src/actions includes
// this, so the front ends reach the database only through an action.

#include "actions/ActionResult.h"

namespace quorvel {

struct ActionDatabase {
    static DeviceDatabase& Of(const ActionContext& ctx) { return ctx.db_; }
};

inline DeviceDatabase& Db(const ActionContext& ctx) {
    return ActionDatabase::Of(ctx);
}

}  // namespace quorvel
