#pragma once
// Everything fzl offers, in one include.

#include <fzl/FuzzyConsts/FuzzyExceptions.h>
#include <fzl/FuzzyConsts/FuzzyMessages.h>
#include <fzl/FuzzyConsts/FuzzyNames.h>
#include <fzl/FuzzyConsts/FuzzyTypes.h>
#include <fzl/FuzzyLogic/FuzzyEvents.h>
#include <fzl/FuzzyLogic/FuzzyLogic.h>
#include <fzl/FuzzyLogic/FuzzyLogicParser.h>
#include <fzl/FuzzyLogic/FuzzyMath.h>
#include <fzl/FuzzyLogic/FuzzySet.h>
#include <fzl/FuzzyLogic/FuzzySetSettings.h>
#include <fzl/FuzzyLogic/FuzzySetValues.h>
#include <fzl/FuzzyLogic/FuzzyVariable.h>
#include <fzl/VXFuzzyLogicParser/ParserMessages.h>
#include <fzl/support/TypedCollection.h>
#include <fzl/support/UpdateGuard.h>
