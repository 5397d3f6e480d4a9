// The code of the probe modules: they exist for their version blocks only.
