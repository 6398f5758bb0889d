"""TavriCAT's link inside LibreOffice Writer.

The Writer bridge (writer_bridge.py) installs this module among the user's Python scripts of
the Writer it drives and calls `handle` once per request, so that the many small UNO calls of
a request run inside Writer instead of crossing a pipe each. `handle` takes one request line
and returns the answer line of the protocol in docs/wordlink.md (without the line end).

Positions inside a paragraph count characters (code points) of the paragraph's text as this
module gives it, in which footnote anchors, fields and pictures anchored as characters are
left out; a cursor steps over each of them as over one character.
"""

import os

import uno
from com.sun.star.beans import PropertyValue


def escape(text):
    return (text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r"))


def unescape(field):
    out = []
    i = 0
    while i < len(field):
        c = field[i]
        if c == "\\" and i + 1 < len(field):
            n = field[i + 1]
            out.append({"t": "\t", "n": "\n", "r": "\r", "\\": "\\"}.get(n, n))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def file_url(path):
    return uno.systemPathToFileUrl(os.path.abspath(path))


class BridgeError(Exception):
    pass


# The export filter of each extension a document may be saved as.
SAVE_FILTERS = {
    ".docx": "MS Word 2007 XML",
    ".doc": "MS Word 97",
    ".odt": "writer8",
    ".fodt": "OpenDocument Text Flat XML",
    ".rtf": "Rich Text Format",
    ".txt": "Text (encoded)",
    ".pdf": "writer_pdf_Export",
}



def ends_in_chinese(text):
    """Whether text ends with a Chinese character or full-width mark, after which the blank
    that separated two English sentences has no place."""
    return bool(text) and ord(text[-1]) >= 0x2E80


def drop_blank_after(text, position):
    cursor = text.createTextCursorByRange(position)
    cursor.goRight(1, True)
    if cursor.getString() == " ":
        cursor.setString("")


class Session:
    def __init__(self, desktop):
        self.desktop = desktop
        self.headless = False
        self.units = None          # the paragraphs of the active document, in reading order
        self.units_of = None       # the document the list belongs to
        self.taken = None          # a text cursor over the sentence taken last
        self.taken_unit = -1
        self.current = None        # the document opened or made last

    # ---- documents -------------------------------------------------------------------
    def text_documents(self):
        documents = []
        enum = self.desktop.getComponents().createEnumeration()
        while enum.hasMoreElements():
            component = enum.nextElement()
            if component.supportsService("com.sun.star.text.TextDocument"):
                documents.append(component)
        return documents

    def active(self):
        # The document this bridge opened or made last, while it is open: a headless Writer
        # does not make it the current component.
        if self.current is not None:
            return self.current
        component = self.desktop.getCurrentComponent()
        if component is not None and component.supportsService("com.sun.star.text.TextDocument"):
            return component
        documents = self.text_documents()
        if not documents:
            raise BridgeError("no document is open in Writer")
        return documents[-1]

    def new_document(self):
        hidden = [prop("Hidden", True)] if self.headless else []
        self.current = self.desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0, tuple(hidden))

    def open_document(self, path):
        if not os.path.isfile(path):
            raise BridgeError("no such file: %s" % path)
        hidden = [prop("Hidden", True)] if self.headless else []
        document = self.desktop.loadComponentFromURL(file_url(path), "_blank", 0, tuple(hidden))
        if document is None:
            raise BridgeError("Writer cannot open %s" % path)
        self.forget()
        self.current = document
        return document

    def forget(self):
        self.units = None
        self.units_of = None
        self.taken = None
        self.taken_unit = -1

    def document_name(self):
        document = self.active()
        url = document.getURL()
        if not url:
            return "", ""
        path = uno.fileUrlToSystemPath(url)
        return os.path.basename(path), os.path.dirname(path)

    def save(self, path):
        document = self.active()
        extension = os.path.splitext(path)[1].lower()
        if extension not in SAVE_FILTERS:
            raise BridgeError("cannot save as %s" % extension)
        args = [prop("FilterName", SAVE_FILTERS[extension]), prop("Overwrite", True)]
        if extension == ".txt":
            args.append(prop("FilterOptions", "UTF8,CRLF"))
        document.storeToURL(file_url(path), tuple(args))

    def close_active(self):
        document = self.active()
        document.close(True)
        self.forget()
        self.current = None

    def place(self, x, y, width, height):
        frame = self.active().getCurrentController().getFrame()
        window = frame.getContainerWindow()
        window.setPosSize(x, y, width, height, 15)  # POSSIZE
        window.setVisible(True)

    # ---- paragraphs in reading order -------------------------------------------------
    def collect(self, text, units):
        """The paragraphs of `text`, tables' cells row by row, each paragraph's footnotes after it."""
        enum = text.createEnumeration()
        while enum.hasMoreElements():
            element = enum.nextElement()
            if element.supportsService("com.sun.star.text.TextTable"):
                for name in element.getCellNames():
                    self.collect(element.getCellByName(name), units)
            elif element.supportsService("com.sun.star.text.Paragraph"):
                units.append(element)
                portions = element.createEnumeration()
                while portions.hasMoreElements():
                    portion = portions.nextElement()
                    if portion.TextPortionType == "Footnote":
                        self.collect(portion.Footnote, units)

    def page_texts(self, document):
        """The headers and footers of the page styles that show them."""
        texts = []
        styles = document.getStyleFamilies().getByName("PageStyles")
        for name in styles.getElementNames():
            style = styles.getByName(name)
            if not style.isInUse():
                continue
            for on, part in (("HeaderIsOn", "HeaderText"), ("FooterIsOn", "FooterText")):
                if style.getPropertyValue(on):
                    text = style.getPropertyValue(part)
                    if text is not None and all(text != known for known in texts):
                        texts.append(text)
        return texts

    def paragraphs(self):
        document = self.active()
        if self.units is None or self.units_of != document:
            units = []
            self.collect(document.getText(), units)
            # Headers and footers come after the body, so that a walk from its start ends there.
            for text in self.page_texts(document):
                self.collect(text, units)
            self.units = units
            self.units_of = document
        return self.units

    def view_cursor(self):
        return self.active().getCurrentController().getViewCursor()

    @staticmethod
    def pieces(range_):
        """The portions of a range as (text, steps, raw): the text a translator reads ('' for
        a footnote anchor, a field or a picture), the cursor steps it takes, and the length
        it has in the range's own string (a footnote anchor shows its number there)."""
        out = []
        text = range_.getText()
        cursor = text.createTextCursorByRange(range_)
        paragraphs = cursor.createEnumeration() if hasattr(cursor, "createEnumeration") else None
        sources = []
        if paragraphs is None:
            sources.append(range_)
        else:
            while paragraphs.hasMoreElements():
                sources.append(paragraphs.nextElement())
        for paragraph in sources:
            portions = paragraph.createEnumeration()
            while portions.hasMoreElements():
                portion = portions.nextElement()
                raw = portion.getString()
                if portion.TextPortionType == "Text":
                    out.append((raw, len(raw), len(raw)))
                else:
                    width = 0 if text.compareRegionStarts(portion.getStart(), portion.getEnd()) == 0 else 1
                    if width or raw:
                        out.append(("", width, len(raw)))
        return out

    @staticmethod
    def steps_at(pieces, offset, at_end):
        """The cursor steps from the start of `pieces` to text offset `offset`. An object standing
        exactly at the offset is left outside: after a start, before an end."""
        steps = 0
        seen = 0
        for text, width, _ in pieces:
            if not text:
                if seen < offset or (seen == offset and not at_end):
                    steps += width
                    continue
                break
            if seen + len(text) >= offset:
                return steps + (offset - seen)
            seen += len(text)
            steps += width
        return steps

    def locate(self, range_):
        """The unit holding the end of `range_`, and the text offset of that end in the unit."""
        units = self.paragraphs()
        text = range_.getText()
        order = list(range(len(units)))
        if 0 <= self.taken_unit < len(units):
            order.remove(self.taken_unit)
            order.insert(0, self.taken_unit)
        end = range_.getEnd()
        for i in order:
            unit = units[i]
            if unit.getText() != text:
                continue
            try:
                if text.compareRegionStarts(unit, end) < 0 or text.compareRegionEnds(unit, end) > 0:
                    continue
            except Exception:
                continue
            cursor = text.createTextCursorByRange(unit.getStart())
            cursor.gotoRange(end, True)
            raw = len(cursor.getString())
            offset = 0
            for piece, _, length in self.pieces(unit):
                if raw <= 0:
                    break
                offset += min(len(piece), raw) if piece else 0
                raw -= length
            return i, offset
        raise BridgeError("the cursor stands where no sentence can be taken")

    def unit_text(self, unit):
        return "".join(piece for piece, _, _ in self.pieces(self.paragraphs()[unit]))

    def paragraph_at_cursor(self):
        unit, offset = self.locate(self.view_cursor())
        return unit, offset, self.unit_text(unit)

    def paragraph_after(self, unit):
        if unit + 1 >= len(self.paragraphs()):
            return None
        return unit + 1, self.unit_text(unit + 1)

    def cursor_over(self, range_, pieces, start, end):
        """A text cursor over text offsets [start, end) of `range_`, whose pieces are given."""
        text = range_.getText()
        cursor = text.createTextCursorByRange(range_.getStart())
        first = self.steps_at(pieces, start, False)
        last = max(first, self.steps_at(pieces, end, True))
        cursor.goRight(first, False)
        cursor.goRight(last - first, True)
        return cursor

    def select(self, unit, start, end):
        paragraph = self.paragraphs()[unit]
        cursor = self.cursor_over(paragraph, self.pieces(paragraph), start, end)
        self.active().getCurrentController().select(cursor)
        self.taken = cursor
        self.taken_unit = unit
        return "".join(piece for piece, _, _ in self.pieces(cursor))

    def take_selection(self):
        selection = self.active().getCurrentController().getSelection()
        if selection is None or not hasattr(selection, "getCount") or selection.getCount() < 1:
            raise BridgeError("nothing is selected")
        range_ = selection.getByIndex(0)
        if not hasattr(range_, "getText"):
            raise BridgeError("the selection holds no text")
        cursor = range_.getText().createTextCursorByRange(range_)
        self.taken = cursor
        try:
            self.taken_unit = self.locate(range_)[0]
        except BridgeError:
            self.taken_unit = -1
        return "".join(piece for piece, _, _ in self.pieces(cursor))

    def selection_state(self):
        cursor = self.view_cursor()
        return cursor.isCollapsed(), cursor.getString()

    def replace_text(self, range_, replacement):
        """Replaces the text of `range_` by `replacement`, keeping its footnote anchors, fields
        and pictures (they end up after the replacement). The replacement takes the format of
        the range's first character."""
        pieces = self.pieces(range_)
        text = range_.getText()
        spans = []  # (first step, steps) of each text piece
        steps = 0
        for piece, width, _ in pieces:
            if piece:
                spans.append((steps, width))
            steps += width
        if not spans:
            text.insertString(text.createTextCursorByRange(range_.getStart()), replacement, False)
            return
        for first, width in reversed(spans[1:]):
            cursor = text.createTextCursorByRange(range_.getStart())
            cursor.goRight(first, False)
            cursor.goRight(width, True)
            cursor.setString("")
        first, width = spans[0]
        cursor = text.createTextCursorByRange(range_.getStart())
        cursor.goRight(first, False)
        cursor.goRight(width, True)
        cursor.setString(replacement)

    def put_back(self, translation, rate, overwrite):
        if self.taken is None:
            raise BridgeError("no sentence has been taken")
        taken = self.taken
        text = taken.getText()
        document = self.active()
        document.lockControllers()
        try:
            if overwrite:
                self.replace_text(taken, translation)
                if ends_in_chinese(translation):
                    drop_blank_after(text, taken.getEnd())
            else:
                # Bilingual markup in the word processor's form: {0>source<}rate{>translation<0}
                end = text.createTextCursorByRange(taken.getEnd())
                text.insertString(end, "<}%s{>%s<0}" % (rate, translation), False)
                text.insertString(text.createTextCursorByRange(taken.getStart()), "{0>", False)
            after = text.createTextCursorByRange(taken.getEnd())
        finally:
            document.unlockControllers()
        document.getCurrentController().getViewCursor().gotoRange(after, False)
        self.taken = None

    def cleanup(self):
        """Removes every segment's markers, source and rate, leaving its translation."""
        document = self.active()
        search = document.createSearchDescriptor()
        search.SearchRegularExpression = True
        search.SearchString = r"\{0>.*?<0\}"
        found = document.findAll(search)
        segments = [found.getByIndex(i) for i in range(found.getCount())]
        removed = 0
        document.lockControllers()
        try:
            for segment in reversed(segments):
                pieces = self.pieces(segment)
                whole = "".join(piece for piece, _, _ in pieces)
                middle = whole.find("<}")
                target = whole.find("{>", middle + 2) if middle >= 0 else -1
                if not whole.startswith("{0>") or not whole.endswith("<0}") or target < 0:
                    continue
                if ends_in_chinese(whole[target + 2:-3]):
                    drop_blank_after(segment.getText(), segment.getEnd())
                self.cursor_over(segment, pieces, len(whole) - 3, len(whole)).setString("")
                self.replace_text(self.cursor_over(segment, pieces, 0, target + 2), "")
                removed += 1
        finally:
            document.unlockControllers()
        self.forget()
        return removed

    def pure_text(self, path, out):
        """The plain text of the document at `path` (the active document when empty) into `out`."""
        if path:
            if not os.path.isfile(path):
                raise BridgeError("no such file: %s" % path)
            document = self.desktop.loadComponentFromURL(file_url(path), "_blank", 0, (prop("Hidden", True),))
            if document is None:
                raise BridgeError("Writer cannot open %s" % path)
            try:
                document.storeToURL(file_url(out), (prop("FilterName", "Text (encoded)"), prop("FilterOptions", "UTF8,CRLF")))
            finally:
                document.close(True)
        else:
            self.active().storeToURL(file_url(out), (prop("FilterName", "Text (encoded)"), prop("FilterOptions", "UTF8,CRLF")))

    def close_all(self):
        # Documents closed before Writer ends, so that they leave no lock files behind.
        for document in self.text_documents():
            try:
                document.close(True)
            except Exception:
                pass
        self.forget()
        self.current = None

    def pause(self):
        document = self.active()
        while document.hasControllersLocked():
            document.unlockControllers()



_session = None


def session():
    global _session
    if _session is None:
        context = uno.getComponentContext()
        desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
        _session = Session(desktop)
    return _session


def dispatch(writer, request, args):
    """The answer fields of one request."""
    if request == "configure":
        writer.headless = args[0] == "1"
        return ["ok"]
    if request == "count":
        return ["ok", len(writer.text_documents())]
    if request == "new":
        writer.new_document()
        return ["ok"]
    if request == "open":
        writer.open_document(args[0])
        return ["ok"]
    if request == "name":
        return ["ok"] + list(writer.document_name())
    if request == "place":
        writer.place(*[int(a) for a in args[:4]])
        return ["ok"]
    if request == "selection":
        collapsed, text = writer.selection_state()
        return ["ok", 1 if collapsed else 0, text]
    if request == "paragraph":
        return ["ok"] + list(writer.paragraph_at_cursor())
    if request == "next":
        found = writer.paragraph_after(int(args[0]))
        return ["ok"] + list(found if found else ("end",))
    if request == "select":
        return ["ok", writer.select(int(args[0]), int(args[1]), int(args[2]))]
    if request == "take":
        return ["ok", writer.take_selection()]
    if request == "putback":
        writer.put_back(args[0], args[1], args[2] == "1")
        return ["ok"]
    if request == "cleanup":
        return ["ok", writer.cleanup()]
    if request == "puretext":
        writer.pure_text(args[0], args[1])
        return ["ok"]
    if request == "save":
        writer.save(args[0])
        return ["ok"]
    if request == "close":
        writer.close_active()
        return ["ok"]
    if request == "closeall":
        writer.close_all()
        return ["ok"]
    if request == "pause":
        writer.pause()
        return ["ok"]
    return ["error", "unknown request: " + request]


def handle(line):
    fields = [unescape(f) for f in line.split("\t")]
    writer = session()
    try:
        answer = dispatch(writer, fields[0], fields[1:])
    except BridgeError as e:
        answer = ["error", str(e)]
    except Exception as e:  # a UNO failure, such as a document closed under the link
        writer.forget()
        writer.current = None
        answer = ["error", "%s: %s" % (type(e).__name__, getattr(e, "Message", "") or e)]
    return "\t".join(escape(str(f)) for f in answer)


g_exportedScripts = (handle,)
