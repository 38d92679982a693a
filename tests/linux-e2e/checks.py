"""The checks of one run: each is recorded, passed or failed, and a failed one does not
stop the others, so that one run reports every difference at once."""


class Checks:
    def __init__(self):
        self.results = []  # (passed, description)
        self.facts = []  # what the run observed beyond its checks, for the report

    def check(self, passed, description):
        self.results.append((bool(passed), description))
        return bool(passed)

    def equal(self, actual, expected, description):
        if actual == expected:
            return self.check(True, description)
        return self.check(False, "%s: expected %r, got %r" % (description, expected, actual))

    def fact(self, text):
        self.facts.append(text)

    @property
    def failed(self):
        return [d for passed, d in self.results if not passed]

    def report(self):
        lines = ["%s  %s" % ("ok  " if passed else "FAIL", d) for passed, d in self.results]
        if self.facts:
            lines += ["", "observed:"] + ["  " + f for f in self.facts]
        passed = sum(1 for p, _ in self.results if p)
        lines += ["", "%d passed, %d failed" % (passed, len(self.results) - passed)]
        return "\n".join(lines)
