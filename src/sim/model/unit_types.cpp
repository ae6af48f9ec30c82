// (replaced by the simulator's device model)
