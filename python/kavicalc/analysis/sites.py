"""kavicalc.predict(..., as_dataset=True): the wind climate at sites as a Dataset."""

from .._site_runs import check_jobs
from .dataset import provenance, site_dataset
from .failures import FailureReport
from .grid import read_curve
from .inputs import CalculationInputs, calculate

SITES_TITLE = "Predicted wind climate at sites"


def predict_dataset(map_file, atlas_file, tasks, rose_file, obstacles_file, settings, edition,
                    power_curve, air_density, jobs):
    """The Dataset of the sites tasks [(x, y, height), ...], dimensions site and sector."""
    if not tasks:
        raise ValueError("no sites: give at least one (x, y) or (x, y, height)")
    inputs = CalculationInputs(map_file, atlas_file, rose_file, obstacles_file, settings, edition)
    curve = read_curve(power_curve, air_density)
    values = calculate(inputs.open_user, tasks, check_jobs(jobs))
    attrs = provenance(inputs.edition, inputs.map_file, inputs.atlas_file, inputs.rose_file,
                       inputs.obstacles_file, inputs.parameters, power_curve, air_density,
                       SITES_TITLE)
    report = FailureReport(tasks, values)
    return report.apply(site_dataset(tasks, values, curve, attrs), "kavicalc.predict")
