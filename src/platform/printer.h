// The printer as the printed report sees it: a page on which lines of text are printed at a
// horizontal position in twips, moving down one line after each line, and a document that is
// ended to release the page. Implemented by the Qt layer (QPrinter on the default printer, or a
// PDF file) and by a recording printer in the tests.
#pragma once

#include <string>

namespace sigcond {

class Printer {
public:
    virtual ~Printer() = default;
    // Starts a document. False (with errorText()) when there is no printer to print on or the
    // operator gave up; nothing is printed then.
    virtual bool beginDocument() = 0;
    // Horizontal print position in twips from the left edge of the printable area.
    virtual void setCurrentX(int twips) = 0;
    // Vertical print position in twips from the top of the printable area.
    virtual int currentY() const = 0;
    virtual void setCurrentY(int twips) = 0;
    // Prints the text at the current position. Unless stayOnLine, the position then moves to
    // the start of the next line (CurrentX 0, CurrentY one line lower); otherwise CurrentX
    // moves past the text. An empty text that ends the line moves down one line.
    virtual void print(const std::string& text, bool stayOnLine = false) = 0;
    // Ends the document: the page goes to the printer. False (with errorText()) on failure.
    virtual bool endDocument() = 0;
    // Text of the last failure, for the operator.
    virtual std::string errorText() const = 0;
};

}  // namespace sigcond
