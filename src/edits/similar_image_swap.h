#pragma once

namespace tessaly {

class EditedDocument;

// Trying the images similar to a node in its place, one after another.
//
// `original` is the node the place belonged to and `tried` the candidate
// that holds it now (-1 for none). In one step of undo, `tried` goes back to
// where it came from and `candidate` takes the place, `original` taking the
// candidate's; with `candidate` equal to `original` the place is given back.
// Two nodes exchange their position, size, whether they are shown and their
// cell colour; the selection stays with the place. False, changing nothing,
// when a node is out of the table or nothing would change.
bool TrySimilarImage(EditedDocument& edited, int original, int tried, int candidate);

}  // namespace tessaly
