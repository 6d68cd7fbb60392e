// The product's version as its version record and its diagnostics log give it.
#pragma once

#define ROWTINT_VERSION_TEXT "1.00"
