#pragma once

// The details that the store file shared with the registry editor is made of
// (store_fixture.reg): the three records with umlauts, quotes, backslashes and blanks, the
// welcome flag, and a key with a value of every type.
namespace kivrel::test {

// Saves them through the store of this platform, on top of what is there.
void SaveStoreFixture();

}  // namespace kivrel::test
