// The object model of the local store: every entity the application writes
// or reads, with its attributes and inheritance. Rows refer to each other only
// by id strings, so the model has no relationships. Built once and shared by
// every store stack; a change to it gets a new version identifier, and an
// additive change lets older stores migrate when they are opened.
#pragma once

#include "coredata/ManagedObjectModel.h"

class EntityModel {
public:
    static constexpr const char* kVersionIdentifier = "Quovana 1";

    // The application's model (one instance for the process).
    static coredata::ModelPtr mergedModel();
    // What the stacks configured from now on are built with: the
    // application's model, unless a test handed over one that declares more
    // (entities only the queries name); null hands back the application's.
    static coredata::ModelPtr stackModel();
    static void setStackModelForTesting(coredata::ModelPtr model);
};
