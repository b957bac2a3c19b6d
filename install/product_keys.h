// The product's own registry key, which the product fills itself once it runs.
#pragma once

// Creates "Software\<ProductRegistry>" under HKEY_LOCAL_MACHINE and then under
// HKEY_CURRENT_USER, writing no values; nothing when ProductRegistry is empty. A key that cannot
// be created puts the registry-keys line in ErrorSummary (once, whichever root failed).
void CreateProductKeys();
